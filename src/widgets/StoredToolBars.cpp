#include "StoredToolBars.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>
#include <cmath>
#include <limits>

#include "ErrorReport.h"
#include "TrapErrors.h"
#include "ToolBarPicture.h"
#include "kzrToolBar.h"

namespace brixel {
namespace {

constexpr int kInvalidPropertyValue = 380;
constexpr double kHimetricPerPixel = 2540.0 / 96.0;

[[noreturn]] void RaiseInvalidValue() {
  throw BackEndError(kInvalidPropertyValue, "Invalid property value");
}

int PixelsFromHimetric(qint32 himetric) {
  return static_cast<int>(std::lround(himetric / kHimetricPerPixel));
}

qint32 HimetricFromPixels(int pixels) {
  return static_cast<qint32>(std::lround(pixels * kHimetricPerPixel));
}

}  // namespace

FormToolBars ParseFormToolBars(const QByteArray& json) {
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(json, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) RaiseInvalidValue();
  FormToolBars toolbars;
  const QJsonObject root = document.object();
  for (auto it = root.begin(); it != root.end(); ++it) {
    if (!it.value().isObject()) RaiseInvalidValue();
    toolbars[it.key()] = PropertyBag::FromJson(it.value().toObject());
  }
  return toolbars;
}

QByteArray FormToolBarsToJson(const FormToolBars& toolbars) {
  QJsonObject root;
  for (const auto& [name, bag] : toolbars) root.insert(name, bag.ToJson());
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString FormToolBarsResource(const QString& formName) {
  RegisterToolBarResources();
  return ":/toolbars/" + formName + ".json";
}

bool LoadFormToolBars(QWidget& form, const FormToolBars& toolbars) {
  return Trap("PrjBrixel.kzrToolBar.ReadProperties", [&] {
    constexpr qint32 kMax = std::numeric_limits<qint32>::max();
    for (const auto& [name, bag] : toolbars) {
      auto* toolbar = form.findChild<kzrToolBar*>(name);
      if (!toolbar) Raise(ErrorCode::SubscriptOutOfRange);
      toolbar->ReadProperties(bag);
      if (bag.Contains("_extentx") && bag.Contains("_extenty")) {
        toolbar->SetStoredExtent(QSize(PixelsFromHimetric(bag.ReadInteger("_extentx", 0, 0, kMax)),
                                       PixelsFromHimetric(bag.ReadInteger("_extenty", 0, 0, kMax))));
      }
    }
  });
}

bool LoadFormToolBars(QWidget& form) {
  QFile file(FormToolBarsResource(form.objectName()));
  FormToolBars toolbars;
  bool read = Trap("PrjBrixel.kzrToolBar.ReadProperties", [&] {
    if (!file.open(QIODevice::ReadOnly)) Raise(ErrorCode::FileNotFound);
    toolbars = ParseFormToolBars(file.readAll());
  });
  return read && LoadFormToolBars(form, toolbars);
}

FormToolBars SaveFormToolBars(const QWidget& form) {
  FormToolBars toolbars;
  for (const kzrToolBar* toolbar : form.findChildren<kzrToolBar*>()) {
    PropertyBag bag;
    toolbar->WriteProperties(bag);
    bag.WriteProperty("_extentx", HimetricFromPixels(toolbar->width()), QVariant());
    bag.WriteProperty("_extenty", HimetricFromPixels(toolbar->height()), QVariant());
    toolbars[toolbar->objectName()] = bag;
  }
  return toolbars;
}

}  // namespace brixel
