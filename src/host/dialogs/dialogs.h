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

  bool FileDialog(const FileDialogRequest& request, std::string* path) override;
  bool AskYesNo(const std::string& gbk_message) override;
  void Message(const std::string& gbk_message) override;
  CProcessDialog& Progress() override { return progress_; }

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

  class Bar;

 private:
  std::string dir_;
  bool answer_yes_;
  std::unique_ptr<Bar> bar_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_DIALOGS_DIALOGS_H_
