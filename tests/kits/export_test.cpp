#include <gtest/gtest.h>

#include "support/cli.h"
#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

class CurveExport : public KitTest {
 protected:
  CurveExport() {
    AfxSetDialogs(&dialogs);
    well = MakeRoot<CWpWell>("CWpWell");
    well->SetName(Gbk("濮1"));
    track = Make<CWpTrack>("CWpTrack");
    well->AddChild(track);
    dir = ScratchDir("export");
  }
  ~CurveExport() override { AfxSetDialogs(nullptr); }

  CWpCurve* AddCurve(const char* name, const char* unit, double top, int n,
                     double (*value)(int)) {
    auto* c = Make<CWpCurve>("CWpCurve");
    track->AddChild(c, 0);
    c->SetName(name);
    c->SetTitleText(name);
    c->SetUnitText(Gbk(unit));
    std::vector<double> d, v;
    for (int i = 0; i < n; ++i) {
      d.push_back(top + i * 0.125);
      v.push_back(value(i));
    }
    c->SetSamples(d, v);
    return c;
  }

  ScriptedDialogs dialogs;
  CWpWell* well;
  CWpTrack* track;
  std::string dir;
};

TEST_F(CurveExport, CurvesSampledAlikeShareOneFile) {
  AddCurve("GR", "API", 1000, 100, [](int i) { return 50.0 + i; });
  AddCurve("SP", "mV", 1000, 100, [](int i) { return i == 0 ? -1000.0 : (i == 1 ? -999.0 : -10.0); });
  AddCurve("gr", "API", 1000, 100, [](int) { return 0.0; });  // repeats GR's name: dropped
  AddCurve("AC", "无", 1500, 40, [](int) { return kFltMax; });
  dialogs.file_answers = {dir + "/one.txt", dir + "/two.txt"};
  well->ExportData();

  ASSERT_EQ(dialogs.file_requests.size(), 2u);
  EXPECT_EQ(dialogs.file_requests[0].default_name, Gbk("濮1井曲线数据1"));
  EXPECT_EQ(dialogs.file_requests[1].title, Gbk("保存为文件2 - 导出曲线数据"));
  EXPECT_EQ(dialogs.file_requests[0].default_extension, "txt");
  EXPECT_TRUE(dialogs.file_requests[0].overwrite_prompt);

  const std::string one = ReadFile(dir + "/one.txt");
  EXPECT_EQ(one.substr(0, one.find("\r\n")), Gbk("深度[m]") + " GR[API] SP[mV]");
  EXPECT_NE(one.find("\r\n 1000.000     50.000  -9999.000\r\n"), std::string::npos) << one.substr(0, 200);
  EXPECT_NE(one.find("\r\n 1000.125     51.000   -999.000\r\n"), std::string::npos);
  EXPECT_EQ(std::count(one.begin(), one.end(), '\n'), 100);
  EXPECT_EQ(std::count(one.begin(), one.end(), '\r'), 100);
  EXPECT_NE(one.back(), '\n');
  const std::string two = ReadFile(dir + "/two.txt");
  EXPECT_EQ(two.substr(0, two.find("\r\n")), Gbk("深度[m]") + " AC");
  EXPECT_NE(two.find("\r\n 1500.000  -9999.000"), std::string::npos);
  EXPECT_EQ(dialogs.written, (std::vector<std::string>{dir + "/one.txt", dir + "/two.txt"}));
  EXPECT_TRUE(dialogs.failures.empty());

  // Progress: title, maximum, positions below 100, closed.
  ASSERT_FALSE(dialogs.progress_events.empty());
  EXPECT_EQ(dialogs.progress_events.front().kind, ScriptedDialogs::ProgressEvent::kTitle);
  EXPECT_EQ(dialogs.progress_events.front().text, Gbk("正在导出曲线数据 ..."));
  EXPECT_EQ(dialogs.progress_events.back().kind, ScriptedDialogs::ProgressEvent::kClose);
}

TEST_F(CurveExport, OneGroupAndCancelledDialogs) {
  AddCurve("GR", "API", 1000, 10, [](int i) { return 1.0 * i; });
  well->ExportData();  // no answer: cancelled, nothing written
  ASSERT_EQ(dialogs.file_requests.size(), 1u);
  EXPECT_EQ(dialogs.file_requests[0].default_name, Gbk("濮1井曲线数据"));
  EXPECT_EQ(dialogs.file_requests[0].title, Gbk("保存为文件 - 导出曲线数据"));
  // A file that cannot be written is reported, naming it.
  dialogs.file_answers = {dir + "/no/such/folder/x.txt"};
  well->ExportData();
  EXPECT_TRUE(dialogs.written.empty());
  EXPECT_EQ(dialogs.failures,
            std::vector<std::string>{"cannot write " + dir + "/no/such/folder/x.txt: No such file or directory"});
}

// Dialogs that do not keep the outcome show a failure as a message.
TEST_F(CurveExport, AFailedWriteIsShownAsAMessageByDefault) {
  class MessageOnly : public ScriptedDialogs {
   public:
    void FileWritten(const std::string& path, const std::string& error) override {
      HostDialogs::FileWritten(path, error);
    }
  } shown;
  AfxSetDialogs(&shown);
  AddCurve("GR", "API", 1000, 10, [](int i) { return 1.0 * i; });
  shown.file_answers = {dir + "/ok.txt", dir + "/none/x.txt"};
  well->ExportData();
  well->ExportData();
  EXPECT_EQ(shown.messages, std::vector<std::string>{"cannot write " + dir + "/none/x.txt: No such file or directory"});
}

}  // namespace
}  // namespace davodu::testing
