#include "PropertyBag.h"

#include <QJsonValue>
#include <cmath>

#include "ErrorReport.h"

namespace brixel {
namespace {

constexpr int kTypeMismatch = 13;

[[noreturn]] void RaiseTypeMismatch() { throw BackEndError(kTypeMismatch, "Type mismatch"); }

bool IsWholeNumber(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
      return true;
    default:
      return false;
  }
}

}  // namespace

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const {
  const auto it = entries_.constFind(name.toLower());
  return it == entries_.cend() ? defaultValue : it->value;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value,
                                const QVariant& defaultValue) {
  const QString key = name.toLower();
  if (value == defaultValue) {
    entries_.remove(key);
    return;
  }
  entries_.insert(key, Entry{name, value});
}

qint32 PropertyBag::ReadInteger(const QString& name, qint32 defaultValue, qint32 min,
                                qint32 max) const {
  const QVariant v = ReadProperty(name, defaultValue);
  if (!IsWholeNumber(v)) RaiseTypeMismatch();
  const qint64 n = v.toLongLong();
  if (n < min || n > max) Raise(ErrorCode::Overflow);
  return static_cast<qint32>(n);
}

QString PropertyBag::ReadText(const QString& name) const {
  const QVariant v = ReadProperty(name, QString());
  if (v.typeId() != QMetaType::QString) RaiseTypeMismatch();
  return v.toString();
}

bool PropertyBag::Contains(const QString& name) const {
  return entries_.contains(name.toLower());
}

QJsonObject PropertyBag::ToJson() const {
  QJsonObject object;
  for (const Entry& e : entries_) {
    object.insert(e.name, IsWholeNumber(e.value) ? QJsonValue(e.value.toLongLong())
                                                 : QJsonValue(e.value.toString()));
  }
  return object;
}

PropertyBag PropertyBag::FromJson(const QJsonObject& object) {
  PropertyBag bag;
  for (auto it = object.begin(); it != object.end(); ++it) {
    const QJsonValue v = it.value();
    QVariant value;
    if (v.isString()) {
      value = v.toString();
    } else if (v.isDouble()) {
      const double d = v.toDouble();
      // Whole numbers only, and only as many as a 64-bit value holds exactly.
      if (std::trunc(d) != d || std::fabs(d) > 9007199254740992.0) RaiseTypeMismatch();
      value = static_cast<qint64>(d);
    } else {
      RaiseTypeMismatch();
    }
    bag.entries_.insert(it.key().toLower(), Entry{it.key(), value});
  }
  return bag;
}

}  // namespace brixel
