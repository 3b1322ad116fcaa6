#pragma once

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVariant>

namespace brixel {

// The stored properties of one control on a form: names matched without regard to case,
// values that are whole numbers or texts. A value equal to its default is not written, and
// reading a missing name gives the default.
class PropertyBag {
 public:
  QVariant ReadProperty(const QString& name, const QVariant& defaultValue) const;
  void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue);

  // Typed reads; a value of the wrong kind or out of range raises Type mismatch (13) or
  // Overflow (6).
  qint32 ReadInteger(const QString& name, qint32 defaultValue, qint32 min, qint32 max) const;
  QString ReadText(const QString& name) const;

  bool Contains(const QString& name) const;
  int Count() const { return static_cast<int>(entries_.size()); }

  // The names as written, with their values: numbers as JSON numbers, texts as strings.
  QJsonObject ToJson() const;
  // Raises Type mismatch (13) for a value that is neither a whole number nor a text.
  static PropertyBag FromJson(const QJsonObject& object);

  friend bool operator==(const PropertyBag&, const PropertyBag&) = default;

 private:
  struct Entry {
    QString name;
    QVariant value;
    friend bool operator==(const Entry&, const Entry&) = default;
  };
  QMap<QString, Entry> entries_;  // by lower-case name
};

}  // namespace brixel
