#include "davodu/host/dialogs/dialogs.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <utility>

#include "davodu/host/util/gbk.h"

namespace davodu {
namespace {

class DiscardProgress : public CProcessDialog {
 public:
  void SetTitle(const std::string&) override {}
  void SetMaxValue(int) override {}
  void SetPos(int) override {}
  void Uninitialize() override {}
};

// In force when nobody installed dialogs: nothing is asked of anyone.
class DefaultDialogs : public HostDialogs {
 public:
  bool FileDialog(const FileDialogRequest&, std::string*) override { return false; }
  bool AskYesNo(const std::string&) override { return false; }
  void Message(const std::string&) override {}
  CProcessDialog& Progress() override { return progress_; }

 private:
  DiscardProgress progress_;
};

DefaultDialogs& Defaults() {
  static DefaultDialogs defaults;
  return defaults;
}

// Null while the defaults are in force.
std::atomic<HostDialogs*> g_installed{nullptr};

void WriteStderr(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

HostDialogs& AfxGetDialogs() {
  HostDialogs* d = g_installed.load(std::memory_order_acquire);
  return d != nullptr ? *d : Defaults();
}

// Returns null when the defaults were in force, so that handing the result
// back to AfxSetDialogs restores exactly the previous state.
HostDialogs* AfxSetDialogs(HostDialogs* dialogs) {
  if (dialogs == &Defaults()) dialogs = nullptr;
  return g_installed.exchange(dialogs, std::memory_order_acq_rel);
}

CProcessDialog& AfxGetProcessDialog() { return AfxGetDialogs().Progress(); }

void HostDialogs::FileWritten(const std::string&, const std::string& error) {
  if (!error.empty()) Message(Utf8ToGbk(error));
}

// ---------------------------------------------------------------------------
// ScriptedDialogs

bool ScriptedDialogs::FileDialog(const FileDialogRequest& request, std::string* path) {
  file_requests.push_back(request);
  if (file_answers.empty()) return false;
  std::string answer = std::move(file_answers.front());
  file_answers.pop_front();
  if (answer.empty()) return false;
  if (path != nullptr) *path = std::move(answer);
  return true;
}

bool ScriptedDialogs::AskYesNo(const std::string& gbk_message) {
  questions.push_back(gbk_message);
  if (yes_no_answers.empty()) return false;
  const bool answer = yes_no_answers.front();
  yes_no_answers.pop_front();
  return answer;
}

void ScriptedDialogs::Message(const std::string& gbk_message) { messages.push_back(gbk_message); }

void ScriptedDialogs::FileWritten(const std::string& path, const std::string& error) {
  if (error.empty())
    written.push_back(path);
  else
    failures.push_back(error);
}

void ScriptedDialogs::Recorder::SetTitle(const std::string& t) {
  owner_->progress_events.push_back({ProgressEvent::kTitle, 0, t});
}

void ScriptedDialogs::Recorder::SetMaxValue(int max) {
  owner_->progress_events.push_back({ProgressEvent::kMax, max, {}});
}

void ScriptedDialogs::Recorder::SetPos(int pos) {
  owner_->progress_events.push_back({ProgressEvent::kPos, pos, {}});
}

void ScriptedDialogs::Recorder::Uninitialize() {
  owner_->progress_events.push_back({ProgressEvent::kClose, 0, {}});
}

// ---------------------------------------------------------------------------
// ConsoleDialogs

// A one-line progress bar redrawn in place on a terminal; nothing at all
// when stderr is a file or a pipe, where carriage returns would only litter
// logs.
class ConsoleDialogs::Bar : public CProcessDialog {
 public:
  Bar() : enabled_(isatty(STDERR_FILENO) == 1) {}
  ~Bar() override {
    if (drawn_) WriteStderr("\n");  // leave the shell prompt on a line of its own
  }

  void SetTitle(const std::string& gbk_title) override {
    title_ = GbkToUtf8(gbk_title);
    Draw();
  }
  void SetMaxValue(int max) override {
    max_ = max;
    if (drawn_) Draw();
  }
  void SetPos(int pos) override {
    pos_ = pos;
    // Redraw only when the shown figure changes: kits report every sample.
    if (!drawn_ || Percent() != shown_percent_) Draw();
  }
  // Ends the bar's line before other text goes to stderr; the next change
  // draws the bar again below that text.
  void BreakLine() {
    if (!drawn_) return;
    WriteStderr("\n");
    drawn_ = false;
  }

  void Uninitialize() override {
    if (drawn_) WriteStderr("\n");
    drawn_ = false;
    title_.clear();
    max_ = 100;
    pos_ = 0;
  }

 private:
  static constexpr int kWidth = 30;

  int Percent() const {
    if (max_ <= 0 || pos_ <= 0) return 0;
    if (pos_ >= max_) return 100;
    return static_cast<int>(static_cast<long long>(pos_) * 100 / max_);
  }

  void Draw() {
    if (!enabled_) return;
    const int percent = Percent();
    const int filled = percent * kWidth / 100;
    std::string line = "\r";
    if (!title_.empty()) line += title_ + " ";
    line += "[";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(kWidth - filled), '-');
    char figure[16];
    std::snprintf(figure, sizeof figure, "] %3d%%", percent);
    line += figure;
    line += "\x1b[K";  // clear what a longer earlier line left behind
    WriteStderr(line);
    drawn_ = true;
    shown_percent_ = percent;
  }

  bool enabled_;
  bool drawn_ = false;
  std::string title_;  // UTF-8
  int max_ = 100;
  int pos_ = 0;
  int shown_percent_ = -1;
};

ConsoleDialogs::ConsoleDialogs(std::string dir, bool answer_yes)
    : dir_(std::move(dir)), answer_yes_(answer_yes), bar_(std::make_unique<Bar>()) {}

ConsoleDialogs::~ConsoleDialogs() = default;

bool ConsoleDialogs::FileDialog(const FileDialogRequest& request, std::string* path) {
  // Nothing is read from the user's files without being asked for by name.
  if (!request.save || dir_.empty()) return false;
  // Split in UTF-8: in GBK the byte '\\' can be the second half of a
  // character. Any folder part of the offered name is dropped, so the file
  // always lands in the chosen folder.
  std::string name = GbkToUtf8(request.default_name);
  const std::size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  if (name.empty() || name == "." || name == "..") {
    Message(Gbk("没有可用的文件名，已取消保存。"));
    return false;
  }
  std::string ext = GbkToUtf8(request.default_extension);
  if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
  const std::size_t dot = name.rfind('.');
  const bool has_ext = dot != std::string::npos && dot > 0 && dot + 1 < name.size();
  if (!has_ext && !ext.empty()) name += "." + ext;

  std::string folder = dir_;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder != "/") folder += '/';
  // A name answered before gets the first free number: "name(2).txt".
  const std::size_t ext_at = has_ext || !ext.empty() ? name.rfind('.') : name.size();
  const std::string stem = name.substr(0, ext_at), suffix = name.substr(ext_at);
  std::string chosen = folder + name;
  for (int n = 2; std::find(answered_.begin(), answered_.end(), chosen) != answered_.end(); ++n)
    chosen = folder + stem + "(" + std::to_string(n) + ")" + suffix;
  answered_.push_back(chosen);
  if (path != nullptr) *path = chosen;
  return true;
}

void ConsoleDialogs::FileWritten(const std::string& path, const std::string& error) {
  outcomes_.push_back({path, error});
}

bool ConsoleDialogs::AskYesNo(const std::string& gbk_message) {
  bar_->BreakLine();
  WriteStderr(GbkToUtf8(gbk_message) + (answer_yes_ ? " [yes/no] yes\n" : " [yes/no] no\n"));
  return answer_yes_;
}

void ConsoleDialogs::Message(const std::string& gbk_message) {
  bar_->BreakLine();
  WriteStderr(GbkToUtf8(gbk_message) + "\n");
}

CProcessDialog& ConsoleDialogs::Progress() { return *bar_; }

}  // namespace davodu
