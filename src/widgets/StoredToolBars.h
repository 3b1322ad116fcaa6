#pragma once

#include <QByteArray>
#include <QString>
#include <map>

#include "PropertyBag.h"

class QWidget;

namespace brixel {

// The stored toolbars of one form: each kzrToolBar's properties under its object name. Besides
// the toolbar's own entries, "_extentx" and "_extenty" keep the control's size on the form in
// HIMETRIC (1/100 mm) at 96 pixels per inch.
using FormToolBars = std::map<QString, PropertyBag>;

// A description as JSON: an object of toolbar names, each an object of property names.
// Raises Invalid property value (380) for text that is not such an object.
FormToolBars ParseFormToolBars(const QByteArray& json);
QByteArray FormToolBarsToJson(const FormToolBars& toolbars);

// The description compiled in for a form: ":/toolbars/" + form name + ".json".
QString FormToolBarsResource(const QString& formName);

// Gives every toolbar named in the description its stored buttons and size. A failure is
// reported and leaves the toolbars it reached so far loaded; the result tells whether all
// went well.
bool LoadFormToolBars(QWidget& form, const FormToolBars& toolbars);
bool LoadFormToolBars(QWidget& form);  // from the form's compiled-in description

// The stored description of every toolbar on the form.
FormToolBars SaveFormToolBars(const QWidget& form);

}  // namespace brixel
