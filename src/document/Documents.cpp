#include "Documents.h"


#include "IcnsFile.h"
#include "IcnsTypes.h"
#include "IcoFile.h"
#include "ReadAhead.h"

namespace brixel {

DocumentList<cIco> IconDocuments;
DocumentList<cAni> AniDocuments;

namespace {

bool IsIconType(const std::string& type) { return type == "ICO" || type == "CUR"; }

}  // namespace

bool OpensAsIconDocument(const std::string& path) {
  if (IsIconType(DocumentType(path)) || IsIcnsPath(path)) return true;
  if (DocumentType(path) == "ANI") return false;
  return IsIcnsData(ReadFileStart(path, kIcnsHeaderBytes));
}

void NewDocument() { IconDocuments.Items.push_back(std::make_unique<cIco>()); }

bool OpenDocument(const std::string& path) {
  const std::string type = DocumentType(path);
  if (OpensAsIconDocument(path)) {
    std::unique_ptr<cIco> document = TakeReadAhead(path);
    if (!document) {
      document = std::make_unique<cIco>();
      if (!document->OpenIcon(path)) return false;
    }
    IconDocuments.Items.push_back(std::move(document));
    return true;
  }
  if (type == "ANI") {
    auto document = std::make_unique<cAni>();
    if (!document->OpenAni(path)) return false;
    AniDocuments.Items.push_back(std::move(document));
    return true;
  }
  return false;
}

bool SaveDocument(const std::string& path) {
  if (DocumentType(path) == "ANI") {
    if (AniDocuments.HasCurrent()) return AniDocuments.CurrentDocument().SaveAni(path);
    if (!IconDocuments.HasCurrent()) return false;
    // An icon document saved as an animated cursor: each of its images a frame.
    cIco& icon = IconDocuments.CurrentDocument();
    cAni cursor;
    cursor.AppendFramesOf(icon.Images());
    if (!cursor.SaveAni(path)) return false;
    icon.TellMacIconOnlyLeftOut(path);
    icon.IconPath(path);
    return true;
  }
  if (!IconDocuments.HasCurrent()) return false;
  return IconDocuments.CurrentDocument().SaveIcon(path);
}

void CloseDocument(const std::string& path, const std::string& fallbackPath) {
  const std::string& chosen = path.empty() ? fallbackPath : path;
  const std::string type = DocumentType(chosen);
  if (IsIconType(type) || IsIcnsPath(chosen)) IconDocuments.RemoveCurrent();
  else if (type == "ANI") AniDocuments.RemoveCurrent();
}

}  // namespace brixel
