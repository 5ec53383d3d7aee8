// Speed of pictures, programs and parameter columns: decoding and drawing a
// core photograph, a program run over many records, a parameter column of
// many intervals drawn.
#include <benchmark/benchmark.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "davodu/davodu.h"
#include "davodu/host/graphics/cairo_dc.h"
#include "davodu/host/graphics/dib.h"
#include "davodu/host/program/program.h"

namespace davodu {
namespace {

// A photograph of 3000 x 2000 pixels (6 megapixels), as a camera's JPEG.
const std::string& Photo() {
  static const std::string bytes = [] {
    const int w = 3000, h = 2000;
    GdkPixbuf* p = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, w, h);
    guchar* px = gdk_pixbuf_get_pixels(p);
    const int stride = gdk_pixbuf_get_rowstride(p);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        guchar* q = px + y * stride + x * 3;
        q[0] = static_cast<guchar>(128 + 100 * std::sin(x / 40.0));
        q[1] = static_cast<guchar>(90 + 60 * std::sin(y / 25.0));
        q[2] = static_cast<guchar>((x ^ y) & 0x3F);
      }
    gchar* buf = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(p, &buf, &size, "jpeg", nullptr, "quality", "90", nullptr);
    std::string out(buf, size);
    g_free(buf);
    g_object_unref(p);
    return out;
  }();
  return bytes;
}

void BM_DecodePhoto(benchmark::State& state) {
  const std::string& bytes = Photo();
  for (auto _ : state) {
    CDIB dib;
    dib.SetTotalBuf(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    benchmark::DoNotOptimize(dib.GetWidth());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodePhoto)->Unit(benchmark::kMillisecond);

// The photograph drawn into a block 25 mm x 20 m at 1:500 (25 x 40 mm) of
// a page: a PDF embeds the JPEG as it is, a PNG at 150 dpi scales it.
void BM_DrawPhoto(benchmark::State& state) {
  const auto format = static_cast<ImageFormat>(state.range(0));
  CDIB dib;
  dib.SetTotalBuf(reinterpret_cast<const unsigned char*>(Photo().data()), Photo().size());
  const std::string path = (std::filesystem::temp_directory_path() / "davodu_bench_photo").string() +
                           (format == ImageFormat::kPng ? ".png" : ".pdf");
  for (auto _ : state) {
    std::string error;
    auto dc = CairoDC::Create(format, path, CRect{0, 5000, 3000, 0}, format == ImageFormat::kPng ? 150 / 2540.0 : 72 / 2540.0, &error);
    dib.Draw(dc.get(), CRect{250, 4500, 2750, 500});
    dc->Finish(&error);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_DrawPhoto)->Arg(static_cast<int>(ImageFormat::kPng))->Arg(static_cast<int>(ImageFormat::kPdf))
    ->Unit(benchmark::kMillisecond);

// Records of 1 m each from 1000 m down.
class Records : public ProgramData {
 public:
  bool GetField(int i, const char*, Value* v) override {
    v->is_number = true;
    v->number = i;
    return true;
  }
  const std::vector<std::string>& GetFieldNames() override { return names_; }
  bool GetDepths(int i, double* top, double* bottom) override {
    *top = 1000 + i;
    *bottom = *top + 1;
    return true;
  }
  double DepthToMapY(double depth) override { return -200 * (depth - 1000); }

 private:
  std::vector<std::string> names_{"n"};
};

// A band and a label per record, over N records, in one run.
void BM_ProgramRun(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  CZuMapFile doc;
  CZuLayer* layer = doc.GetActiveMap()->AddLayer("l");
  Records records;
  CProgram program;
  program.SetSource(
      "rect_fill(x0, depth_y(top), x1, depth_y(bottom), {fill = '#FFE45C', color = '#000000'})\n"
      "text((x0 + x1) / 2, depth_y((top + bottom) / 2), record.n, {align = 'center', valign = 'middle'})\n");
  program.SetValueAtRuntime("x0", 0);
  program.SetValueAtRuntime("x1", 2000);
  program.SetLayer(layer);
  program.SetData(&records);
  for (auto _ : state) {
    for (int i = 0; i < n; ++i) {
      program.SetCurrentRecordIndex(i);
      program.Run();
    }
    program.End();
    state.PauseTiming();
    layer->DeleteAllObjects();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ProgramRun)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// A parameter column of N intervals of 1 m, drawn into a recording device.
void BM_DrawParamColumn(benchmark::State& state) {
  DaVoduAttach();
  const int n = static_cast<int>(state.range(0));
  CZuMapFile doc;
  CZuLayer* layer = doc.GetActiveMap()->AddLayer("l");
  auto* param = static_cast<CWpParam*>(AfxGetObjectFactory()->CreateObject("CWpParam"));
  layer->AddObject(param);
  param->SetTopDepth(1000);
  param->SetBottomDepth(static_cast<float>(1000 + n));
  param->SetDepthScale(500);
  param->SetWidth(1500);
  param->SetDigitNum(2);
  param->SetFillVisible(true);
  for (int i = 0; i < n; ++i)
    param->AddSegment(i, std::to_string(10 + (i * 37 % 200) / 10.0), static_cast<float>(1000 + i),
                      static_cast<float>(1001 + i));
  param->BuildControlNodePointArray();
  for (auto _ : state) {
    RecordingDC dc(false);
    param->Draw(&dc, nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(dc.ops().size());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_DrawParamColumn)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace davodu
