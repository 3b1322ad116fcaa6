#pragma once

namespace brixel {

class DocumentWindow;

// File > "New Icon from Picture...": asks for a picture (or SVG drawing), then for the sizes
// and depths of FrmNewFromPicture, and shows a new document that holds an image of each, made
// as brixel-cli iconset makes them; a cursor's hot spot is carried into each size.
void NewIconFromPicture(DocumentWindow& window);

}  // namespace brixel
