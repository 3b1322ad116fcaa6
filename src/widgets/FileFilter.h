#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace brixel {

// One entry of a file dialog's type list.
struct FileFilter {
  QString description;  // "Icon Files (ico)"
  QString pattern;      // "*.ico;*.cur"
  friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

// A filter text as callers write it: description and pattern pairs where every "|" and
// every ":" separates. An empty piece ends the list, and a description left without a
// pattern is dropped.
std::vector<FileFilter> ParseFileFilter(const QString& filter);

// The same entry as a Qt name filter, "Icon Files (ico) (*.ico *.cur)".
QString QtNameFilter(const FileFilter& filter);

// The extension a typed name without one gets: the selected filter's own when it names
// exactly one ("*.cur"), else the default extension; never with a leading dot. Empty when
// there is no default extension, which turns the completion off.
QString DefaultSuffixFor(const FileFilter* selected, const QString& defaultExt);

// A typed file name completed with that suffix when its last component has no extension.
QString CompleteFileName(const QString& fileName, const QString& suffix);

}  // namespace brixel
