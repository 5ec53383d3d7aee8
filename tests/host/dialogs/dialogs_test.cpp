#include "davodu/host/dialogs/dialogs.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "davodu/host/util/gbk.h"

namespace davodu {
namespace {

namespace fs = std::filesystem;

// Points file descriptor 2 at `fd` for one scope.
class StderrRedirect {
 public:
  explicit StderrRedirect(int fd) {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    dup2(fd, STDERR_FILENO);
  }
  ~StderrRedirect() {
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }

 private:
  int saved_;
};

std::string ReadAll(int fd) {
  std::string out;
  char buf[4096];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
  return out;
}

// Runs `body` with stderr going to a temporary file and returns what it wrote.
template <typename Body>
std::string CaptureStderr(Body body) {
  FILE* tmp = std::tmpfile();
  {
    StderrRedirect redirect(fileno(tmp));
    body();
  }
  lseek(fileno(tmp), 0, SEEK_SET);
  std::string out = ReadAll(fileno(tmp));
  std::fclose(tmp);
  return out;
}

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "davodu-dialogs-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() { fs::remove_all(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Restores the default dialogs whatever a test installed.
class DialogsTest : public ::testing::Test {
 protected:
  void TearDown() override { AfxSetDialogs(nullptr); }
};

TEST_F(DialogsTest, DefaultsRefuseEverythingAndInstallingSwapsThemOut) {
  FileDialogRequest request;
  request.default_name = "out";
  std::string path = "untouched";
  EXPECT_FALSE(AfxGetDialogs().FileDialog(request, &path));
  EXPECT_EQ(path, "untouched");
  EXPECT_FALSE(AfxGetDialogs().AskYesNo(Gbk("确定进行清空操作吗?")));
  AfxGetProcessDialog().SetMaxValue(10);
  AfxGetProcessDialog().SetPos(5);
  AfxGetProcessDialog().Uninitialize();

  ScriptedDialogs first, second;
  EXPECT_EQ(AfxSetDialogs(&first), nullptr);
  EXPECT_EQ(AfxSetDialogs(&second), &first);
  AfxGetProcessDialog().SetPos(3);
  EXPECT_TRUE(first.progress_events.empty());
  ASSERT_EQ(second.progress_events.size(), 1u);
  EXPECT_EQ(second.progress_events[0].value, 3);

  EXPECT_EQ(AfxSetDialogs(nullptr), &second);
  second.yes_no_answers = {true};
  EXPECT_FALSE(AfxGetDialogs().AskYesNo("q"));
  EXPECT_TRUE(second.questions.empty());
}

TEST_F(DialogsTest, ScriptedDialogsAnswerFromQueuesAndLogEverything) {
  ScriptedDialogs dialogs;
  AfxSetDialogs(&dialogs);
  dialogs.yes_no_answers = {true, false};
  dialogs.file_answers = {"/tmp/a.txt", "", "/tmp/b.txt"};

  HostDialogs& d = AfxGetDialogs();
  EXPECT_TRUE(d.AskYesNo("q1"));
  EXPECT_FALSE(d.AskYesNo("q2"));
  EXPECT_FALSE(d.AskYesNo("q3"));  // queue exhausted
  EXPECT_EQ(dialogs.questions, (std::vector<std::string>{"q1", "q2", "q3"}));

  FileDialogRequest request;
  std::string path;
  request.default_name = "one";
  EXPECT_TRUE(d.FileDialog(request, &path));
  EXPECT_EQ(path, "/tmp/a.txt");
  request.default_name = "two";
  EXPECT_FALSE(d.FileDialog(request, &path));  // empty answer cancels
  EXPECT_EQ(path, "/tmp/a.txt");
  request.default_name = "three";
  EXPECT_TRUE(d.FileDialog(request, &path));
  EXPECT_EQ(path, "/tmp/b.txt");
  EXPECT_FALSE(d.FileDialog(request, &path));  // queue exhausted
  ASSERT_EQ(dialogs.file_requests.size(), 4u);
  EXPECT_EQ(dialogs.file_requests[1].default_name, "two");

  d.Message(Gbk("完成"));
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{Gbk("完成")});

  CProcessDialog& p = AfxGetProcessDialog();
  p.SetTitle(Gbk("计算"));
  p.SetMaxValue(200);
  p.SetPos(50);
  p.Uninitialize();
  using E = ScriptedDialogs::ProgressEvent;
  ASSERT_EQ(dialogs.progress_events.size(), 4u);
  EXPECT_EQ(dialogs.progress_events[0].kind, E::kTitle);
  EXPECT_EQ(dialogs.progress_events[0].text, Gbk("计算"));
  EXPECT_EQ(dialogs.progress_events[1].kind, E::kMax);
  EXPECT_EQ(dialogs.progress_events[1].value, 200);
  EXPECT_EQ(dialogs.progress_events[2].kind, E::kPos);
  EXPECT_EQ(dialogs.progress_events[2].value, 50);
  EXPECT_EQ(dialogs.progress_events[3].kind, E::kClose);
}

TEST(ConsoleDialogTest, SaveRequestsLandInTheChosenFolder) {
  TempDir dir;
  const struct {
    std::string name;  // UTF-8, converted to GBK for the request
    std::string extension;
    std::string file;  // expected file name, or empty when cancelled
  } cases[] = {
      {"深度曲线", "txt", "深度曲线.txt"},
      {"data.csv", "txt", "data.csv"},
      {"report", ".las", "report.las"},
      {"noext", "", "noext"},
      {"../../escape", "txt", "escape.txt"},
      {"C:\\wells\\井1", "txt", "井1.txt"},
      {"", "txt", ""},
      {"..", "txt", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ConsoleDialogs dialogs(dir.path() + "/", false);
    FileDialogRequest request;
    request.save = true;
    request.default_name = Utf8ToGbk(c.name);
    request.default_extension = c.extension;
    std::string path;
    bool chosen = false;
    CaptureStderr([&] { chosen = dialogs.FileDialog(request, &path); });
    EXPECT_EQ(chosen, !c.file.empty());
    if (!chosen) continue;
    EXPECT_EQ(path, dir.path() + "/" + c.file);
    std::ofstream(path) << "x";
    EXPECT_TRUE(fs::exists(fs::path(dir.path()) / c.file));
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 6);
}

// One run never hands out a path twice: the second request for a name gets
// the first free number, whatever the extension.
TEST(ConsoleDialogTest, ANameAnsweredBeforeGetsANumber) {
  ConsoleDialogs dialogs("/out", true);
  const struct {
    std::string name;
    std::string extension;
    std::string path;
  } cases[] = {
      {"井1曲线数据", "txt", "/out/井1曲线数据.txt"},
      {"井1曲线数据", "txt", "/out/井1曲线数据(2).txt"},
      {"井1曲线数据.txt", "", "/out/井1曲线数据(3).txt"},
      {"井1曲线数据", "txt", "/out/井1曲线数据(4).txt"},
      {"井1曲线数据(2)", "txt", "/out/井1曲线数据(2)(2).txt"},
      {"noext", "", "/out/noext"},
      {"noext", "", "/out/noext(2)"},
      {"井1曲线数据", "csv", "/out/井1曲线数据.csv"},
  };
  std::vector<std::string> answered;
  for (const auto& c : cases) {
    FileDialogRequest request;
    request.default_name = Utf8ToGbk(c.name);
    request.default_extension = c.extension;
    std::string path;
    ASSERT_TRUE(dialogs.FileDialog(request, &path));
    EXPECT_EQ(path, c.path);
    answered.push_back(path);
  }
  EXPECT_EQ(dialogs.answered(), answered);
  dialogs.FileWritten("/out/noext", "");
  dialogs.FileWritten("/out/noext(2)", "cannot write /out/noext(2): No space left on device");
  ASSERT_EQ(dialogs.outcomes().size(), 2u);
  EXPECT_EQ(dialogs.outcomes()[1].error, "cannot write /out/noext(2): No space left on device");
}

TEST(ConsoleDialogTest, OpenRequestsAndMissingFolderCancel) {
  FileDialogRequest open;
  open.save = false;
  open.default_name = "in.txt";
  std::string path;
  EXPECT_FALSE(ConsoleDialogs("/tmp", true).FileDialog(open, &path));
  FileDialogRequest save;
  save.default_name = "out";
  EXPECT_FALSE(ConsoleDialogs("", true).FileDialog(save, &path));
  EXPECT_EQ(path, "");
}

TEST(ConsoleDialogTest, QuestionsAndMessagesGoToStderrInUtf8) {
  for (bool yes : {true, false}) {
    ConsoleDialogs dialogs("", yes);
    bool answer = !yes;
    const std::string text = CaptureStderr([&] {
      answer = dialogs.AskYesNo(Gbk("确定进行清空操作吗?"));
      dialogs.Message(Gbk("深度[m]"));
    });
    EXPECT_EQ(answer, yes);
    EXPECT_NE(text.find("确定进行清空操作吗?"), std::string::npos) << text;
    EXPECT_NE(text.find(yes ? "yes\n" : "no\n"), std::string::npos) << text;
    EXPECT_NE(text.find("深度[m]\n"), std::string::npos) << text;
  }
}

TEST(ConsoleDialogTest, ProgressIsSilentWhenStderrIsNotATerminal) {
  const std::string text = CaptureStderr([] {
    ConsoleDialogs dialogs("", false);
    CProcessDialog& p = dialogs.Progress();
    p.SetTitle(Gbk("计算"));
    p.SetMaxValue(10);
    for (int i = 0; i <= 10; ++i) p.SetPos(i);
    p.Uninitialize();
  });
  EXPECT_EQ(text, "");
}

TEST(ConsoleDialogTest, ProgressBarIsDrawnInPlaceOnATerminal) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0) GTEST_SKIP() << "no pseudo-terminals here";
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(slave, 0);
  {
    StderrRedirect redirect(slave);
    ConsoleDialogs dialogs("", false);
    CProcessDialog& p = dialogs.Progress();
    p.SetTitle(Gbk("计算孔隙度"));
    p.SetMaxValue(4);
    for (int i = 0; i <= 4; ++i) p.SetPos(i);
    p.Uninitialize();
  }
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  const std::string text = ReadAll(master);
  close(slave);
  close(master);

  EXPECT_NE(text.find("\r计算孔隙度"), std::string::npos) << text;
  for (const char* percent : {" 25%", " 50%", "100%"}) {
    EXPECT_NE(text.find(percent), std::string::npos) << percent;
  }
  // One line, redrawn with carriage returns and closed by a single newline
  // (which the terminal shows as CR LF).
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(text.find('\n'), text.size() - 1);
}

}  // namespace
}  // namespace davodu
