#pragma once

#include <string>

class QWidget;

namespace brixel {

// What the file commands need from the window that shows the documents.
class DocumentWindow {
 public:
  virtual ~DocumentWindow() = default;
  // Brings the counter, the strip and the grid up to date after the document list changed.
  virtual void ShowCount() = 0;
  // Clears the edit grid to its background colour.
  virtual void ClearGrid() = 0;
  // The window that owns the file dialogs.
  virtual QWidget* DialogOwner() = 0;
  // Opens the import dialog for the current document with the picture at path loaded; true
  // when an image came in.
  virtual bool ImportPicture(const std::string& path) = 0;
  // After a save: the document's name and kind may have changed, its images have not, so the
  // current image and the strip stay as they are.
  virtual void ShowSaved() = 0;
  // The documents' recovery copies follow a save or close at once.
  virtual void UpdateRecovery() = 0;
  // Tells the user that the document was saved, in a message box or the status bar as the
  // options say.
  virtual void TellSaved(const std::string& text) = 0;
};

// New, Open, Save, Save As and Close on the current icon document. Every question and message
// goes through the installed prompter, every file dialog through cCommonDialog.
class FileCommands {
 public:
  explicit FileCommands(DocumentWindow& window) : window_(window) {}

  // Appends a document with one 32 x 32 image of 256 colours and shows it, unchanged.
  void New();
  // Asks for an icon or cursor file and shows it; a file that is no icon leads to the offer
  // to import it as a picture.
  void OpenIconFile();
  // Saves to the document's own path, or to a name asked for (starting from the document's
  // own) when saveAs is set or the document has never been saved. True when the document
  // was written.
  bool SaveCurrent(bool saveAs);
  // Closes the current document, offering to save it first when it has changed. False, with
  // the document still open, when the user cancels the question or the save.
  bool Close();

 private:
  // Removes the current document without a question.
  void Discard();

  DocumentWindow& window_;
};

}  // namespace brixel
