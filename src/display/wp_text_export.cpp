// The text kit: the export of its blocks as a text table (top depth,
// thickness, text), one line a block from the top.
#include <cstdio>
#include <string>

#include "davodu/display/wp_text.h"
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/util/gbk.h"
#include "davodu/well/wp_well.h"

namespace davodu {

void CWpText::ExportContent() {
  if (segs_.empty()) return;
  CWpWell* well = GetWell();
  FileDialogRequest request;
  request.save = true;
  request.default_extension = "txt";
  request.default_name = (well ? well->GetName() : std::string()) + Gbk("井") + title_text_ + Gbk("数据");
  request.filter = Gbk("文本文件(*.txt)|*.txt|所有文件(*.*)|*.*||");
  request.title = Gbk("保存为文件 - 导出文本数据");
  request.overwrite_prompt = true;
  HostDialogs& dialogs = AfxGetDialogs();
  std::string path;
  if (!dialogs.FileDialog(request, &path)) return;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  // Lines end with CR LF, the way the host's text files do.
  std::fputs((Gbk("顶深[m] 厚度[m] ") + title_text_).c_str(), file);
  CProcessDialog& progress = dialogs.Progress();
  progress.SetTitle(Gbk("正在导出文本数据 ..."));
  progress.SetMaxValue(100);
  const int n = GetSegCount();
  for (int i = 0; i < n; ++i) {
    const CgTextSegment& s = *segs_[static_cast<std::size_t>(i)];
    std::string text = s.editing && editor_ ? editor_->GetString() : s.text;
    // One line a block: the block's own lines are joined by blanks.
    for (char& c : text)
      if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(file, "\r\n%7.2f%8.1f %s", s.top_depth, s.bottom_depth - s.top_depth, text.c_str());
    progress.SetPos(i * 99 / n);
  }
  progress.Uninitialize();
  std::fclose(file);
}

}  // namespace davodu
