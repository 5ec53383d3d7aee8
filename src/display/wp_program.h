// CWpProgram: a drawing made by a program (host/program/program.h) over a
// table of the well database.
//
// The program is bound to one table of the chart's well ("三级分层界限数据",
// "stratum3", "岩性数据", ...). The kit runs it once for every record of the
// table that lies in the chart's depth range (records are picked by their
// depths converted to the chart's depth reference), handing it the kit's
// geometry and the record; the drawing objects the runs create are taken
// over by the kit, which draws them (fills first), zooms and deletes them.
// The kit runs the program again when the program, the table (its stamp)
// or the kit's geometry is newer than what it last showed, and whenever the
// chart loads its data. A program that fails or exceeds its limits leaves
// a message (through the host's message dialog: on stderr for the davodu
// command) and what it drew so far; the chart draws on.
//
// Runtime values: "横坐标X0" / x0 (the kit's left edge), "横坐标X1" / x1
// (right edge), "纵坐标Y0" / y0 (body top), "纵向变换系数" / scale (map units
// per metre), "起始深度" / top_depth, "起始序号" / first, "终止序号" / last,
// "当前序号" / index.
//
// Records (after the content section): the program's 153 "Program", 153
// "ProgramTimeStamp" (the program's stamp when last run), 80. The drawing
// objects are not stored: reading a document runs the program again.
//
// Sources: wp_program.cpp (lifecycle, copies, menu), wp_program_run.cpp
// (running over the table), wp_program_io.cpp (records), wp_program_draw.cpp
// (drawing).
#ifndef DAVODU_DISPLAY_WP_PROGRAM_H_
#define DAVODU_DISPLAY_WP_PROGRAM_H_

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/observer.h"
#include "davodu/host/program/program.h"
#include "davodu/kits/wp_content.h"

namespace davodu {

class CWpProgram : public CWpContent, public Observer {
  DAVODU_DECLARE_DYNCREATE(CWpProgram)

 public:
  explicit CWpProgram(CZuLayer* layer);
  ~CWpProgram() override;

  // Programs of documents that are not trusted can be switched off for the
  // whole process (davodu render --no-programs): kits then run nothing and
  // draw only their frame and title.
  static void SetProgramsEnabled(bool enabled);
  static bool ProgramsEnabled();

  // --- Host object slots.
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override;
  void DrawSelectedMark(CDC* dc, CView* view) override;
  int OnCommand(CView* view, CDC* dc, unsigned id, long param) override;
  void SetZoomFactor(double zoom) override;
  void DuplicateAttribute(CZuObject* target) override;
  int ReadFromFile(CZuMFile* file) override;
  int SaveToFile(CZuMFile* file) override;
  void Clear() override;

  // --- Kit slots.
  int GetWpKitType() const override { return WPKIT_PROGRAM; }
  // Runs the program with the chart's data.
  void ResetData() override { UpdateD2V(); }

  // --- Observer: a source it observes changed.
  void UpdateWithObservee() override { UpdateD2V(); }

  // Copies a program into the kit's.
  void SetProgram(const CProgram* program);
  CProgram& GetProgram() { return *program_; }
  // Prepares the program for the host's editor (its name and the runtime
  // values it may use). This host has no program editor to open.
  void Program();
  // Runs the program over the table's records in the kit's depth range:
  // 1 when it ran, 0 when there was nothing to run it with (no well
  // database, a table that does not exist, programs switched off).
  int RunProgram();
  // Runs the program and notes the stamps of what it showed.
  void UpdateD2V();
  // True when the point lies strictly inside the head (draw nodes 0, 1, 4).
  bool PtInHead(CPoint point) const;

  const std::vector<CZuObject*>& GetObjects() const { return objects_; }
  std::uint64_t GetProgramTimeStamp() const { return program_stamp_; }
  // The messages of the last run (UTF-8).
  const std::vector<std::string>& GetMessages() const { return program_->GetProgramLog().GetLines(); }

 protected:
  void Initialize();
  void AddOwnMenu(CZuMapFile* file) override;

 private:
  void DeleteObjects();
  // What the drawing depends on besides the program and the table: the
  // kit's edges, body top, scale and depth range.
  std::array<double, 6> GeometryKey() const;
  // The stamp of the bound table (0 when there is none).
  std::uint64_t DataStamp();

  std::unique_ptr<CProgram> program_;
  std::uint64_t program_stamp_ = 0;
  std::vector<CZuObject*> objects_;
  std::array<double, 6> geometry_{};
};

}  // namespace davodu

#endif  // DAVODU_DISPLAY_WP_PROGRAM_H_
