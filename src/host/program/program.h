// CProgram: the host's program engine. A program is a short Lua 5.4 text
// (GBK, like every text of the module) bound to a table of well data; it
// runs once for every record of that table that a chart shows and draws
// with the host's drawing objects (zu_shapes.h), which it adds to a layer.
// docs/programs.md describes what a program sees and can call.
//
// Programs come with documents, so they run sandboxed: no os, io, package,
// require, debug, dofile or loadfile, and load only of text chunks. Each run
// (Begin to End, over all the records of one pass) has an instruction budget
// and a memory limit; a program that exceeds either, or fails, stops the
// run with a message in the program's log, and what it drew before stays.
//
// The caller supplies the record data and the depth mapping (ProgramData)
// and the runtime values (SetValueAtRuntime); the engine knows nothing of
// wells or charts.
#ifndef DAVODU_HOST_PROGRAM_PROGRAM_H_
#define DAVODU_HOST_PROGRAM_PROGRAM_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace davodu {

class CZuLayer;
class CZuMFile;

// What a program reads about its records, supplied by its caller.
class ProgramData {
 public:
  struct Value {
    bool is_number = false;
    double number = 0;
    std::string_view text;  // valid until the next call
  };
  virtual ~ProgramData() = default;
  // A field of record i by its name (GBK): a number or a text. False when
  // the table has no such field or record.
  virtual bool GetField(int i, const char* name, Value* value) = 0;
  // The names of the fields (GBK).
  virtual const std::vector<std::string>& GetFieldNames() = 0;
  // Top and bottom of record i in the chart's depth reference; false when
  // the record has no depths.
  virtual bool GetDepths(int i, double* top, double* bottom) = 0;
  // Map Y of a depth of the chart's depth reference.
  virtual double DepthToMapY(double depth) = 0;
};

// The messages of a program's runs (UTF-8, one a line), kept while enabled.
class CProgramLog {
 public:
  void SetEnable(bool enable) { enabled_ = enable; }
  bool IsEnabled() const { return enabled_; }
  void Clear() { lines_.clear(); }
  void Add(std::string line) {
    if (enabled_) lines_.push_back(std::move(line));
  }
  const std::vector<std::string>& GetLines() const { return lines_; }

 private:
  bool enabled_ = true;
  std::vector<std::string> lines_;
};

class CProgram {
 public:
  // Limits of one run.
  static constexpr std::int64_t kDefaultInstructionBudget = 20'000'000;
  static constexpr std::size_t kDefaultMemoryLimit = 64u << 20;

  CProgram();
  ~CProgram();
  CProgram(const CProgram& other);
  // Copies the program (name, table, text, stamp, flag), not a run.
  CProgram& operator=(const CProgram& other);

  // Forgets the program and any run.
  void Clear();

  const std::string& GetName() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  // The table the program is bound to, by its host name (GBK).
  const std::string& GetTableName() const { return table_; }
  void SetTableName(const std::string& table);
  // The program text (GBK).
  const std::string& GetSource() const { return source_; }
  void SetSource(const std::string& source);
  // Grows whenever the text or the table changes.
  std::uint64_t GetTimeStamp() const { return stamp_; }
  // While set, the program is not run (the first data word of the host's
  // program).
  bool IsSuspended() const { return suspended_; }
  void SetSuspended(bool suspended) { suspended_ = suspended; }
  // Runtime values declared for the editor: (text, name, flag).
  void AddData(const std::string& text, const std::string& name, int flag);
  const std::vector<std::pair<std::string, std::string>>& GetDeclaredData() const { return declared_; }

  CProgramLog& GetProgramLog() { return log_; }
  void SetLimits(std::int64_t instructions, std::size_t memory_bytes);

  // --- A run.
  void SetValueAtRuntime(const std::string& name, double value);
  double ValueOr(const std::string& name, double fallback) const {
    const auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
  }
  void SetCurrentWellName(const std::string& well) { well_ = well; }
  void SetLayer(CZuLayer* layer) { layer_ = layer; }
  void SetData(ProgramData* data) { data_ = data; }
  void SetCurrentRecordIndex(int index) { index_ = index; }
  // Runs the program for the current record: the first call of a run
  // compiles it. False when it failed or the run was stopped (the log says
  // why); later calls of a stopped run do nothing.
  bool Run();
  // Ends a run; the next Run starts a new one with a fresh budget.
  void End();
  // Instructions the run used so far (counted in steps of 1000).
  std::int64_t GetInstructionsUsed() const { return used_; }

  // Compiles the text without running it: false with *error (UTF-8, with
  // the line) when it is not a valid program.
  bool Compile(std::string* error) const;

  // Records: one 153 "Program" (name, table, text, stamp, suspended flag).
  void SaveToFile(CZuMFile& file) const;
  // Reads the current record when it is the program's; false otherwise.
  bool LoadFromFile(CZuMFile& file);

  class Run_;  // the Lua side of a run

 private:
  std::string name_;
  std::string table_;
  std::string source_;
  std::uint64_t stamp_ = 0;
  bool suspended_ = false;
  std::vector<std::pair<std::string, std::string>> declared_;
  CProgramLog log_;
  std::int64_t budget_ = kDefaultInstructionBudget;
  std::size_t memory_limit_ = kDefaultMemoryLimit;

  std::map<std::string, double> values_;
  std::string well_;
  CZuLayer* layer_ = nullptr;
  ProgramData* data_ = nullptr;
  int index_ = -1;
  std::int64_t used_ = 0;
  std::unique_ptr<Run_> run_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_PROGRAM_PROGRAM_H_
