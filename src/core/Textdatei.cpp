#include "core/Textdatei.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zt {

namespace {
// Windows-1252 0x80..0x9F; 0 marks the five undefined codes.
constexpr char16_t kCp1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool gueltigesUtf8MitNichtAscii(const QByteArray& b) {
  bool nichtAscii = false;
  const auto* p = reinterpret_cast<const unsigned char*>(b.constData());
  const qsizetype n = b.size();
  for (qsizetype i = 0; i < n;) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    nichtAscii = true;
    int folge;
    if ((c & 0xE0) == 0xC0 && c >= 0xC2) folge = 1;
    else if ((c & 0xF0) == 0xE0) folge = 2;
    else if ((c & 0xF8) == 0xF0 && c <= 0xF4) folge = 3;
    else return false;
    for (int k = 1; k <= folge; ++k)
      if (i + k >= n || (p[i + k] & 0xC0) != 0x80) return false;
    i += folge + 1;
  }
  return nichtAscii;
}

char cp1252Code(char16_t u, bool& ok) {
  const int b = Cp1252Byte(u);
  ok = b >= 0;
  return ok ? static_cast<char>(b) : '?';
}
}  // namespace

int Cp1252Byte(char16_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
  for (int i = 0; i < 32; ++i)
    if (kCp1252[i] == u && u != 0) return 0x80 + i;
  return -1;
}

QString TextDekodieren(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
  if (gueltigesUtf8MitNichtAscii(bytes)) return QString::fromUtf8(bytes);
  QString s;
  s.resize(bytes.size());
  QChar* out = s.data();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const unsigned char c = p[i];
    if (c >= 0x80 && c < 0xA0) {
      const char16_t u = kCp1252[c - 0x80];
      out[i] = QChar(u ? u : char16_t(c));
    } else {
      out[i] = QChar(char16_t(c));
    }
  }
  return s;
}

QStringList TextZeilen(const QString& text) {
  QStringList zeilen = text.split(QLatin1Char('\n'));
  if (!zeilen.isEmpty() && zeilen.back().isEmpty()) zeilen.removeLast();
  for (QString& z : zeilen)
    if (z.endsWith(QLatin1Char('\r'))) z.chop(1);
  return zeilen;
}

bool Cp1252Darstellbar(const QString& text) {
  bool ok = true;
  for (QChar c : text) {
    cp1252Code(c.unicode(), ok);
    if (!ok) return false;
  }
  return true;
}

QByteArray TextKodieren(const QString& text) {
  QByteArray b;
  b.resize(text.size());
  char* out = b.data();
  for (qsizetype i = 0; i < text.size(); ++i) {
    bool ok = true;
    out[i] = cp1252Code(text.at(i).unicode(), ok);
    if (!ok) return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
  }
  return b;
}

bool SiehtBinaerAus(const QByteArray& bytes) {
  const qsizetype n = std::min<qsizetype>(bytes.size(), 1 << 20);
  return QByteArray::fromRawData(bytes.constData(), n).contains('\0');
}

Leseergebnis DateiLesen(const QString& pfad) {
  Leseergebnis e;
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) {
    e.fehler = QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2").arg(pfad, f.errorString());
    return e;
  }
  e.daten = f.readAll();
  if (f.error() != QFileDevice::NoError) {
    e.fehler = QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2").arg(pfad, f.errorString());
    e.daten.clear();
    return e;
  }
  e.ok = true;
  return e;
}

QString DateiAtomarSchreiben(const QString& pfad, const QByteArray& daten) {
  return DateiAtomarSchreiben(pfad, daten, false);
}

QString DateiAtomarSchreiben(const QString& pfad, const QByteArray& daten, bool aufPlatte) {
  QSaveFile f(pfad);
  if (!f.open(QIODevice::WriteOnly))
    return QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(pfad, f.errorString());
  if (f.write(daten) != daten.size()) {
    const QString grund = f.errorString();
    f.cancelWriting();
    return QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(pfad, grund);
  }
  if (aufPlatte && !f.flush()) {
    const QString grund = f.errorString();
    f.cancelWriting();
    return QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(pfad, grund);
  }
#ifdef Q_OS_UNIX
  // The data must be on the disk before the new name points at it, or a
  // power cut could leave the name on an empty file.
  if (aufPlatte && ::fsync(f.handle()) != 0) {
    const QString grund = QString::fromLocal8Bit(std::strerror(errno));
    f.cancelWriting();
    return QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(pfad, grund);
  }
#endif
  if (!f.commit())
    return QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(pfad, f.errorString());
#ifdef Q_OS_UNIX
  // The rename itself lives in the folder: sync it too.
  if (aufPlatte) {
    const QByteArray ordner = QFile::encodeName(QFileInfo(pfad).absolutePath());
    const int fd = ::open(ordner.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
      ::fsync(fd);
      ::close(fd);
    }
  }
#endif
  return QString();
}

QString TextdateiSchreiben(const QString& pfad, const QStringList& zeilen) {
  QString text;
  qsizetype laenge = 0;
  for (const QString& z : zeilen) laenge += z.size() + 2;
  text.reserve(laenge);
  for (const QString& z : zeilen) {
    text += z;
    text += QLatin1String("\r\n");
  }
  return DateiAtomarSchreiben(pfad, TextKodieren(text));
}

QString DateiKopieren(const QString& quelle, const QString& ziel) {
  const Leseergebnis e = DateiLesen(quelle);
  if (!e.ok) return e.fehler;
  return DateiAtomarSchreiben(ziel, e.daten);
}

}  // namespace zt
