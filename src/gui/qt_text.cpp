#include "gui/qt_text.hpp"

#include <QFile>

#include "app/cp1252.hpp"

namespace verilote::gui {

QString FromCp1252(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : bytes) *out++ = QChar(static_cast<char16_t>(cp1252::ToCodePoint(static_cast<unsigned char>(c))));
  return text;
}

std::string ToCp1252(QStringView text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar c : text) {
    const int byte = cp1252::FromCodePoint(c.unicode());
    bytes += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return bytes;
}

QKeySequence KeySequenceOf(int shortcut) {
  const int code = shortcut & 0xFF;
  int key = 0;
  if (code >= 112 && code <= 135)  // VK_F1 .. VK_F24
    key = Qt::Key_F1 + (code - 112);
  else if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
    key = code;
  if (key == 0) return {};
  int modifiers = 0;
  if (shortcut & 8192) modifiers |= Qt::SHIFT;
  if (shortcut & 16384) modifiers |= Qt::CTRL;
  if (shortcut & 32768) modifiers |= Qt::ALT;
  return QKeySequence(key | modifiers);
}

std::string PathBytes(const QString& path) {
#ifdef Q_OS_WIN
  return path.toUtf8().toStdString();
#else
  return QFile::encodeName(path).toStdString();
#endif
}

QString PathText(std::string_view path) {
  const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
#ifdef Q_OS_WIN
  return QString::fromUtf8(bytes);
#else
  return QFile::decodeName(bytes);
#endif
}

}  // namespace verilote::gui
