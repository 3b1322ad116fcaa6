#include "FileFilter.h"

#include <QRegularExpression>

namespace brixel {

std::vector<FileFilter> ParseFileFilter(const QString& filter) {
  static const QRegularExpression kSeparators("[|:]");
  const QStringList pieces = filter.split(kSeparators);
  std::vector<FileFilter> filters;
  for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
    if (pieces[i].isEmpty() || pieces[i + 1].isEmpty()) break;
    filters.push_back({pieces[i], pieces[i + 1]});
  }
  return filters;
}

QString QtNameFilter(const FileFilter& filter) {
  QStringList patterns;
  for (const QString& p : filter.pattern.split(';', Qt::SkipEmptyParts)) {
    const QString trimmed = p.trimmed();
    if (!trimmed.isEmpty()) patterns << trimmed;
  }
  return filter.description + " (" + patterns.join(' ') + ")";
}

QString DefaultSuffixFor(const FileFilter* selected, const QString& defaultExt) {
  QString fallback = defaultExt.trimmed();
  while (fallback.startsWith('.')) fallback.remove(0, 1);
  if (fallback.isEmpty()) return {};
  if (selected) {
    static const QRegularExpression kOneExtension(R"(^\s*\*\.([^.*?;\s]+)\s*$)");
    const QRegularExpressionMatch m = kOneExtension.match(selected->pattern);
    if (m.hasMatch()) return m.captured(1);
  }
  return fallback;
}

QString CompleteFileName(const QString& fileName, const QString& suffix) {
  if (suffix.isEmpty() || fileName.isEmpty()) return fileName;
  const QString last = fileName.section('/', -1);
  if (last.isEmpty() || last.contains('.')) return fileName;
  return fileName + '.' + suffix;
}

}  // namespace brixel
