// The parameter column kit: the export of its intervals as a text table
// (top depth, thickness, value), one line an interval.
#include <cstdio>
#include <string>

#include "davodu/display/wp_param.h"
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/util/gbk.h"
#include "davodu/well/wp_well.h"

namespace davodu {

void CWpParam::ExportContent() {
  if (segs_.empty()) return;
  CWpWell* well = GetWell();
  FileDialogRequest request;
  request.save = true;
  request.default_extension = "txt";
  request.default_name = (well ? well->GetName() : std::string()) + Gbk("井") + title_text_ + Gbk("数据");
  request.filter = Gbk("文本文件(*.txt)|*.txt|所有文件(*.*)|*.*||");
  request.title = Gbk("保存为文件 - 导出参数数据");
  request.overwrite_prompt = true;
  std::string path;
  if (!AfxGetDialogs().FileDialog(request, &path)) return;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  // Lines end with CR LF, the way the host's text files do.
  std::fputs((Gbk("顶深[m] 厚度[m] ") + title_text_).c_str(), file);
  for (const auto& s : segs_)
    std::fprintf(file, "\r\n%7.2f%8.1f %s", s->top_depth, s->bottom_depth - s->top_depth, s->value.c_str());
  std::fclose(file);
}

}  // namespace davodu
