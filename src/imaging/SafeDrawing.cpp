#include "SafeDrawing.h"

#include <zlib.h>

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace brixel {
namespace {

bool IsCompressed(const QByteArray& data) {
  return data.size() >= 2 && static_cast<unsigned char>(data[0]) == 0x1f &&
         static_cast<unsigned char>(data[1]) == 0x8b;
}

// The gzip stream inflated, stopping at kLargestDrawingBytes.
bool Inflate(const QByteArray& data, QByteArray& text, std::string& message) {
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return message = "the compressed drawing could not be read", false;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
  stream.avail_in = static_cast<uInt>(data.size());
  text.clear();
  char chunk[65536];
  int status = Z_OK;
  while (status == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(chunk);
    stream.avail_out = sizeof chunk;
    status = inflate(&stream, Z_NO_FLUSH);
    const std::size_t produced = sizeof chunk - stream.avail_out;
    if (static_cast<std::size_t>(text.size()) + produced > kLargestDrawingBytes) {
      inflateEnd(&stream);
      message = "the compressed drawing inflates to more than " + std::to_string(kLargestDrawingBytes >> 20) + " MB";
      return false;
    }
    text.append(chunk, static_cast<qsizetype>(produced));
    if (status == Z_BUF_ERROR && stream.avail_in == 0) break;  // cut short
  }
  inflateEnd(&stream);
  if (status != Z_STREAM_END) return message = "the compressed drawing is damaged", false;
  return true;
}

bool StartsWithNoCase(QStringView text, QLatin1StringView start) {
  return text.startsWith(start, Qt::CaseInsensitive);
}

// A reference the drawing may keep: one to its own elements, or data carried in it.
bool IsInside(QStringView reference) {
  reference = reference.trimmed();
  return reference.isEmpty() || reference.startsWith(u'#') || StartsWithNoCase(reference, QLatin1StringView("data:"));
}

// The first reference of a url(...) in text (a style or a presentation attribute) that points
// outside the drawing; empty when there is none.
QString OutsideUrl(QStringView text) {
  for (qsizetype at = text.indexOf(QLatin1StringView("url("), 0, Qt::CaseInsensitive); at >= 0;
       at = text.indexOf(QLatin1StringView("url("), at + 4, Qt::CaseInsensitive)) {
    QStringView rest = text.sliced(at + 4).trimmed();
    if (rest.startsWith(u'"') || rest.startsWith(u'\'')) rest = rest.sliced(1);
    const qsizetype end = rest.indexOf(u')');
    const QStringView reference = end < 0 ? rest : rest.first(end);
    if (!IsInside(reference)) return reference.toString();
  }
  // Style sheets may import others.
  const qsizetype import = text.indexOf(QLatin1StringView("@import"), 0, Qt::CaseInsensitive);
  if (import >= 0) return text.sliced(import).first(std::min<qsizetype>(text.size() - import, 80)).toString();
  return {};
}

class ReferenceFilter {
 public:
  explicit ReferenceFilter(SafeDrawing& drawing) : drawing_(drawing) {}

  void LeaveOut(const QString& reference, QStringView element) {
    drawing_.LeftOut.push_back("a reference to \"" + reference.toStdString() + "\" in <" +
                               element.toString().toStdString() + "> was left out");
  }

  // The element's attributes without those that reach outside the drawing.
  QXmlStreamAttributes Filtered(const QXmlStreamReader& reader) {
    QXmlStreamAttributes kept;
    // A link's target is only followed by a viewer, never loaded to draw.
    const QStringView element = reader.qualifiedName();
    const bool link = element.sliced(element.lastIndexOf(u':') + 1) == QLatin1StringView("a");
    for (const QXmlStreamAttribute& attribute : reader.attributes()) {
      const QStringView name = attribute.qualifiedName();
      const QStringView local = name.sliced(name.lastIndexOf(u':') + 1);
      const QStringView value = attribute.value();
      QString outside;
      if (local.compare(QLatin1StringView("href"), Qt::CaseInsensitive) == 0 && !link && !IsInside(value)) {
        outside = value.toString();
      } else if (!local.startsWith(QLatin1StringView("xmlns"))) {
        outside = OutsideUrl(value);
      }
      if (outside.isEmpty()) {
        kept.append(attribute);
      } else {
        LeaveOut(outside, reader.qualifiedName());
      }
    }
    return kept;
  }

 private:
  SafeDrawing& drawing_;
};

}  // namespace

bool MakeSafeDrawing(const QByteArray& data, SafeDrawing& drawing, std::string& message) {
  drawing = SafeDrawing();
  if (static_cast<std::size_t>(data.size()) > kLargestDrawingBytes) {
    message = "the drawing is larger than " + std::to_string(kLargestDrawingBytes >> 20) + " MB";
    return false;
  }
  QByteArray text;
  if (IsCompressed(data)) {
    if (!Inflate(data, text, message)) return false;
  } else {
    text = data;
  }

  // Names are copied as written (prefixes and declarations included), so the drawing keeps
  // its namespaces without the writer inventing any.
  QXmlStreamReader reader(text);
  reader.setNamespaceProcessing(false);
  QXmlStreamWriter writer(&drawing.Svg);
  ReferenceFilter filter(drawing);
  QString element;
  while (!reader.atEnd()) {
    switch (reader.readNext()) {
      case QXmlStreamReader::StartElement:
        element = reader.qualifiedName().toString();
        writer.writeStartElement(element);
        writer.writeAttributes(filter.Filtered(reader));
        break;
      case QXmlStreamReader::EndElement: writer.writeEndElement(); break;
      case QXmlStreamReader::Characters: {
        // Style sheets are text too; the rest is kept as it is.
        const QString outside = OutsideUrl(reader.text());
        if (!outside.isEmpty() && element.endsWith(QLatin1StringView("style"))) {
          filter.LeaveOut(outside, element);
        } else if (reader.isCDATA()) {
          writer.writeCDATA(reader.text().toString());
        } else {
          writer.writeCharacters(reader.text().toString());
        }
        break;
      }
      case QXmlStreamReader::ProcessingInstruction:
        // A style sheet named in the prologue is another outside reference.
        if (reader.processingInstructionTarget() == QLatin1StringView("xml-stylesheet")) {
          filter.LeaveOut(reader.processingInstructionData().toString(), u"?xml-stylesheet");
        }
        break;
      default:
        // The declaration, the document type (its entities are expanded already), comments and
        // references to undeclared entities are not needed to draw.
        break;
    }
  }
  if (reader.hasError()) {
    message = "not an SVG drawing that can be read: " + reader.errorString().toStdString() + " (line " +
              std::to_string(reader.lineNumber()) + ")";
    return false;
  }
  return true;
}

}  // namespace brixel
