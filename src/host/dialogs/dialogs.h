// The host's dialogs: file dialogs, the yes/no message box and the progress
// dialog. Kits call them through AfxGetDialogs(); whoever drives the module
// installs an implementation: the davodu command answers them from its
// options (ConsoleDialogs), tests script them (ScriptedDialogs).
#ifndef DAVODU_HOST_DIALOGS_DIALOGS_H_
#define DAVODU_HOST_DIALOGS_DIALOGS_H_

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace davodu {

// A file dialog request. Texts are GBK.
struct FileDialogRequest {
  bool save = true;                 // save dialog, else open dialog
  std::string title;
  std::string default_name;         // file name offered
  std::string default_extension;    // without the dot, e.g. "txt"
  std::string filter;               // "文本文件(*.txt)|*.txt|所有文件(*.*)|*.*||"
  bool overwrite_prompt = false;
  bool path_must_exist = false;
};

// The progress dialog (CProcessDialog).
class CProcessDialog {
 public:
  virtual ~CProcessDialog() = default;
  virtual void SetTitle(const std::string& gbk_title) = 0;
  virtual void SetMaxValue(int max) = 0;
  virtual void SetPos(int pos) = 0;
  // Closes the dialog.
  virtual void Uninitialize() = 0;
};

class HostDialogs {
 public:
  virtual ~HostDialogs() = default;
  // Returns the chosen path (in the file system's encoding), or false when
  // the user cancelled.
  virtual bool FileDialog(const FileDialogRequest& request, std::string* path) = 0;
  // A yes/no question; true for yes.
  virtual bool AskYesNo(const std::string& gbk_message) = 0;
  // A message with an OK button.
  virtual void Message(const std::string& gbk_message) = 0;
  virtual CProcessDialog& Progress() = 0;
  // Told, after a file chosen in a save dialog was written, how the write
  // went: error is empty when the whole file was written, else it names
  // the file and the cause (in the file system's encoding, as path). By
  // default a failure is shown as a message; success says nothing.
  virtual void FileWritten(const std::string& path, const std::string& error);
};

// The dialogs in force. Never null: by default every question is answered
// no, every file dialog cancelled and progress discarded.
HostDialogs& AfxGetDialogs();
// Installs dialogs (null restores the default); returns the previous ones.
// The caller keeps ownership and keeps them alive while installed.
HostDialogs* AfxSetDialogs(HostDialogs* dialogs);
CProcessDialog& AfxGetProcessDialog();

// Dialogs answered by a script, for tests: queued answers are consumed in
// order and every request is logged.
class ScriptedDialogs : public HostDialogs {
 public:
  struct ProgressEvent {
    enum Kind { kTitle, kMax, kPos, kClose } kind;
    int value = 0;
    std::string text;
  };

  std::deque<bool> yes_no_answers;      // empty queue answers no
  std::deque<std::string> file_answers; // empty string or empty queue cancels
  std::vector<FileDialogRequest> file_requests;
  std::vector<std::string> questions;   // GBK
  std::vector<std::string> messages;    // GBK
  std::vector<ProgressEvent> progress_events;
  std::vector<std::string> written;   // paths written whole
  std::vector<std::string> failures;  // the errors of failed writes

  bool FileDialog(const FileDialogRequest& request, std::string* path) override;
  bool AskYesNo(const std::string& gbk_message) override;
  void Message(const std::string& gbk_message) override;
  CProcessDialog& Progress() override { return progress_; }
  void FileWritten(const std::string& path, const std::string& error) override;

 private:
  class Recorder : public CProcessDialog {
   public:
    explicit Recorder(ScriptedDialogs* owner) : owner_(owner) {}
    void SetTitle(const std::string& t) override;
    void SetMaxValue(int max) override;
    void SetPos(int pos) override;
    void Uninitialize() override;

   private:
    ScriptedDialogs* owner_;
  };
  Recorder progress_{this};
};

// Dialogs of the davodu command: file dialogs are answered inside a chosen
// folder under their default names, questions by a fixed answer, messages
// and progress go to stderr (a progress bar only when stderr is a terminal).
//
// A save dialog never answers a path it answered before: a second request
// for "曲线数据.txt" gets "曲线数据(2).txt", a third "曲线数据(3).txt", so
// one run never overwrites a file it wrote itself. The outcomes of the
// writes are kept for the command to report (outcomes).
class ConsoleDialogs : public HostDialogs {
 public:
  // dir: where save dialogs put files ("" cancels them); answer_yes: the
  // answer to every question.
  ConsoleDialogs(std::string dir, bool answer_yes);
  ~ConsoleDialogs() override;

  bool FileDialog(const FileDialogRequest& request, std::string* path) override;
  bool AskYesNo(const std::string& gbk_message) override;
  void Message(const std::string& gbk_message) override;
  CProcessDialog& Progress() override;
  // Keeps the outcome; says nothing (the command reports it).
  void FileWritten(const std::string& path, const std::string& error) override;

  struct Outcome {
    std::string path;
    std::string error;  // empty: written whole
  };
  // Every path the save dialogs answered, in order.
  const std::vector<std::string>& answered() const { return answered_; }
  // The outcomes reported through FileWritten, in order.
  const std::vector<Outcome>& outcomes() const { return outcomes_; }

  class Bar;

 private:
  std::string dir_;
  bool answer_yes_;
  std::unique_ptr<Bar> bar_;
  std::vector<std::string> answered_;
  std::vector<Outcome> outcomes_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_DIALOGS_DIALOGS_H_
