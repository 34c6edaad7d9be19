#include "core/Textdatei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QRandomGenerator>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
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
  if (bytes.startsWith("\xEF\xBB\xBF")) {
    // Qt would drop a byte-order mark at the start of what it decodes: one
    // right after ours is text (a U+FEFF the file holds) and must stay.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return utf8(QByteArrayView(bytes).sliced(3));
  }
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

Zeilendekodierer::Zeilendekodierer(QByteArrayView bytes) : m_text(bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) {
    m_text = bytes.sliced(3);
    m_utf8 = true;
  } else {
    m_utf8 = gueltigesUtf8MitNichtAscii(QByteArray::fromRawData(bytes.data(), bytes.size()));
  }
  // The same decoder for all pieces: a broken sequence is replaced as it would
  // be in one go, and a U+FEFF at the start of the text stays.
  if (m_utf8) m_decoder = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
}

QStringView Zeilendekodierer::dekodieren(QByteArrayView stueck) {
  if (m_utf8) {
    const qsizetype platz = m_decoder.requiredSpace(stueck.size());
    if (m_puffer.size() < platz) m_puffer.resize(platz);
    const QChar* ende = m_decoder.appendToBuffer(m_puffer.data(), stueck);
    return QStringView(m_puffer.constData(), ende - m_puffer.constData());
  }
  // One look-up a byte, no branch: this runs over every byte of a big file.
  static const std::array<char16_t, 256> tafel = [] {
    std::array<char16_t, 256> t{};
    for (int c = 0; c < 256; ++c)
      t[c] = c >= 0x80 && c < 0xA0 && kCp1252[c - 0x80] ? kCp1252[c - 0x80] : char16_t(c);
    return t;
  }();
  if (m_puffer.size() < stueck.size()) m_puffer.resize(stueck.size());
  char16_t* out = reinterpret_cast<char16_t*>(m_puffer.data());
  const auto* p = reinterpret_cast<const unsigned char*>(stueck.data());
  for (qsizetype i = 0; i < stueck.size(); ++i) out[i] = tafel[p[i]];
  return QStringView(m_puffer.constData(), stueck.size());
}

QStringList TextZeilen(const QString& text) {
  QStringList zeilen;
  const qsizetype n = text.size();
  qsizetype start = 0;
  for (qsizetype i = 0; i < n;) {
    const int umbruch = Zeilenumbruch(text, i);
    if (!umbruch) {
      ++i;
      continue;
    }
    zeilen << text.mid(start, i - start);
    i += umbruch;
    start = i;
  }
  if (start < n) zeilen << text.mid(start);
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
  // Windows-1252 bytes that happen to form valid UTF-8 ("Ã¼" is C3 BC, the
  // UTF-8 of "ü"), or begin like a byte-order mark ("ï»¿"), would be read
  // back as UTF-8: such a text goes as UTF-8 with byte-order mark, so that it
  // comes back as it went.
  if (b.startsWith("\xEF\xBB\xBF") || gueltigesUtf8MitNichtAscii(b))
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
  return b;
}

bool SiehtBinaerAus(const QByteArray& bytes) {
  const qsizetype n = std::min<qsizetype>(bytes.size(), 1 << 20);
  return QByteArray::fromRawData(bytes.constData(), n).contains('\0');
}

namespace {
QString nativ(const QString& pfad) { return QDir::toNativeSeparators(pfad); }

QString megabyte(qint64 bytes) { return QString::number((bytes + (1 << 20) - 1) >> 20); }

QString zuGross(const QString& pfad, qint64 groesse, qint64 grenze) {
  return QStringLiteral("Die Datei \"%1\" ist zu groß (%2 MB); mehr als %3 MB werden nicht gelesen.")
      .arg(nativ(pfad), megabyte(groesse), megabyte(grenze));
}

QString keineDatei(const QString& pfad) { return QStringLiteral("\"%1\" ist keine Datei.").arg(nativ(pfad)); }

QString lesefehler(const QString& pfad, const QString& grund) {
  return QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2").arg(nativ(pfad), grund);
}

// The test seam: counts down the file operations of Baustelle.
std::atomic<int> g_fehlerNach{0};
std::atomic<int> g_fehlerNummer{0};

bool simulierterFehler() {
  int n = g_fehlerNach.load();
  while (n > 0 && !g_fehlerNach.compare_exchange_weak(n, n - 1)) {
  }
  if (n == 1) {
    errno = g_fehlerNummer.load();
    return true;
  }
  return false;
}

#ifdef Q_OS_UNIX
bool regulaer(const struct stat& st) { return S_ISREG(st.st_mode); }
#endif
}  // namespace

QString Systemfehler(int e, const QString& pfad, bool schreiben) {
  const QString ordner = nativ(QFileInfo(pfad).absolutePath());
  if (!schreiben && (e == EACCES || e == EPERM)) return QStringLiteral("Keine Leserechte für \"%1\".").arg(nativ(pfad));
  switch (e) {
    case ENOSPC:
      return QStringLiteral("Der Datenträger ist voll.");
#ifdef EDQUOT
    case EDQUOT:
      return QStringLiteral("Der zugeteilte Platz auf dem Datenträger ist aufgebraucht.");
#endif
    case EACCES:
    case EPERM:
      return QStringLiteral("Keine Schreibrechte für \"%1\".").arg(ordner);
    case EROFS:
      return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case EIO:
      return QStringLiteral("Der Datenträger meldet einen Ein-/Ausgabefehler.");
    case ENOENT:
      return QStringLiteral("Der Ordner \"%1\" ist nicht vorhanden.").arg(ordner);
    case ENOTDIR:
      return QStringLiteral("Ein Teil des Pfades \"%1\" ist kein Ordner.").arg(ordner);
    case EISDIR:
      return QStringLiteral("\"%1\" ist ein Ordner.").arg(nativ(pfad));
    case ENAMETOOLONG:
      return QStringLiteral("Der Dateiname ist zu lang.");
    case EFBIG:
      return QStringLiteral("Die Datei ist zu groß für den Datenträger.");
    case EMFILE:
    case ENFILE:
      return QStringLiteral("Es sind zu viele Dateien geöffnet.");
    case ENOMEM:
      return QStringLiteral("Nicht genug Arbeitsspeicher.");
    case EBUSY:
    case ETXTBSY:
      return QStringLiteral("Die Datei wird gerade benutzt.");
    case EEXIST:
      return QStringLiteral("Eine Datei dieses Namens ist schon vorhanden.");
    default:
      return QStringLiteral("Unbekannter Fehler des Betriebssystems (Nummer %1).").arg(e);
  }
}

QString Schreibfehler(const QString& pfad, const QString& grund) {
  return QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(nativ(pfad), grund);
}

Dateipruefung LesbareDateiPruefen(const QString& pfad, qint64 grenze) {
  Dateipruefung p;
  if (pfad.isEmpty()) {
    p.fehlt = true;
    p.fehler = QStringLiteral("Es ist keine Datei angegeben.");
    return p;
  }
#ifdef Q_OS_UNIX
  struct stat st {};
  if (::stat(QFile::encodeName(pfad).constData(), &st) != 0) {
    p.fehlt = errno == ENOENT || errno == ENOTDIR;
    p.fehler = p.fehlt ? QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(nativ(pfad))
                       : lesefehler(pfad, Systemfehler(errno, pfad, false));
    return p;
  }
  if (!regulaer(st)) {
    p.fehler = keineDatei(pfad);
    return p;
  }
  if (st.st_size > grenze) {
    p.fehler = zuGross(pfad, st.st_size, grenze);
    return p;
  }
#else
  const QFileInfo fi(pfad);
  if (!fi.exists()) {
    p.fehlt = true;
    p.fehler = QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(nativ(pfad));
    return p;
  }
  if (!fi.isFile()) {
    p.fehler = keineDatei(pfad);
    return p;
  }
  if (fi.size() > grenze) {
    p.fehler = zuGross(pfad, fi.size(), grenze);
    return p;
  }
#endif
  p.ok = true;
  return p;
}

Leseergebnis DateiLesen(const QString& pfad, qint64 grenze) {
  Leseergebnis e;
  const Dateipruefung p = LesbareDateiPruefen(pfad, grenze);
  if (!p.ok) {
    e.fehlt = p.fehlt;
    e.fehler = p.fehler;
    return e;
  }
#ifdef Q_OS_UNIX
  // Without blocking: should a FIFO have taken the file's place since the
  // check, open must not wait for a writer; fstat below then refuses it.
  const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    e.fehler = lesefehler(pfad, Systemfehler(errno, pfad, false));
    return e;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !regulaer(st)) {
    ::close(fd);
    e.fehler = keineDatei(pfad);
    return e;
  }
  // Read straight into the result, one byte more than the file claims so
  // that the end shows as a read of 0. Files under /proc report size 0 and
  // still have text: the buffer grows until the end, but never past the limit.
  QByteArray daten(static_cast<qsizetype>(std::min<qint64>(st.st_size, grenze)) + 1, Qt::Uninitialized);
  qsizetype gelesen = 0;
  for (;;) {
    if (gelesen == daten.size()) {
      if (gelesen > grenze) {
        ::close(fd);
        e.fehler = zuGross(pfad, gelesen, grenze);
        return e;
      }
      daten.resize(std::min<qint64>(std::max<qint64>(2 * gelesen, 1 << 16), grenze + 1));
    }
    const ssize_t n = ::read(fd, daten.data() + gelesen, static_cast<size_t>(daten.size() - gelesen));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int fehler = errno;
      ::close(fd);
      e.fehler = lesefehler(pfad, Systemfehler(fehler, pfad, false));
      return e;
    }
    if (n == 0) break;
    gelesen += n;
  }
  ::close(fd);
  daten.truncate(gelesen);
  e.daten = std::move(daten);
#else
  QFile f(pfad);
  if (!f.open(QIODevice::ReadOnly)) {
    e.fehler = lesefehler(pfad, f.errorString());
    return e;
  }
  e.daten = f.read(grenze + 1);
  if (f.error() != QFileDevice::NoError) {
    e.fehler = lesefehler(pfad, f.errorString());
    e.daten.clear();
    return e;
  }
  if (e.daten.size() > grenze) {
    e.fehler = zuGross(pfad, e.daten.size(), grenze);
    e.daten.clear();
    return e;
  }
#endif
  e.ok = true;
  return e;
}

void SchreibfehlerVorgeben(int n, int fehlernummer) {
  g_fehlerNummer = fehlernummer;
  g_fehlerNach = n;
}

bool SchreibfehlerAusstehend() { return g_fehlerNach.load() > 0; }

namespace {
QString tempVorsilbe(const QString& ziel) { return QLatin1Char('.') + QFileInfo(ziel).fileName() + QLatin1Char('.'); }

// Temporary files of a write that was killed (".lauf.csv.Ab12Cd.tmp") are
// removed once no process holds them any more: a living writer keeps an
// exclusive lock on its file.
void verwaisteEntfernen(const QString& ziel) {
  const QFileInfo fi(ziel);
  const QString vorsilbe = tempVorsilbe(ziel);
  QDir ordner(fi.absolutePath());
  const QStringList namen =
      ordner.entryList({vorsilbe + QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : namen) {
    // Exactly the vorsilbe, six characters and ".tmp": nothing else is ours.
    if (name.size() != vorsilbe.size() + 10 || !name.startsWith(vorsilbe)) continue;
    const QString pfad = ordner.filePath(name);
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(QFile::encodeName(pfad).constData());
    ::close(fd);
#else
    QFile::remove(pfad);  // Windows refuses to delete a file another process has open
#endif
  }
}
}  // namespace

Baustelle::Baustelle(const QString& ziel) : m_ziel(ziel) {
  verwaisteEntfernen(ziel);
  const QFileInfo fi(ziel);
#ifdef Q_OS_UNIX
  QByteArray muster = QFile::encodeName(fi.absolutePath() + QLatin1Char('/') + tempVorsilbe(ziel) +
                                        QStringLiteral("XXXXXX.tmp"));
  m_fd = ::mkostemps(muster.data(), 4, O_CLOEXEC);
  if (m_fd < 0) {
    m_fehler = Schreibfehler(ziel, Systemfehler(errno, ziel));
    return;
  }
  m_temp = QFile::decodeName(muster);
  ::flock(m_fd, LOCK_EX);
  // A temporary file is private to its owner; the file it becomes should look
  // like any other file the program writes, or keep the old one's mode.
  struct stat alt {};
  mode_t modus = 0644;
  if (::stat(QFile::encodeName(ziel).constData(), &alt) == 0) modus = alt.st_mode & 07777;
  ::fchmod(m_fd, modus);
#else
  for (int versuch = 0; versuch < 100 && m_fd < 0; ++versuch) {
    const QString zufall = QString::number(QRandomGenerator::global()->bounded(100000, 999999));
    m_temp = fi.absolutePath() + QLatin1Char('/') + tempVorsilbe(ziel) + zufall + QStringLiteral(".tmp");
    m_fd = ::_wopen(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(m_temp).utf16()),
                    _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (m_fd < 0 && errno != EEXIST) break;
  }
  if (m_fd < 0) {
    m_fehler = Schreibfehler(ziel, Systemfehler(errno, ziel));
    m_temp.clear();
  }
#endif
}

Baustelle::~Baustelle() {
  if (m_fd >= 0) ::close(m_fd);
  if (!m_eingesetzt && !m_temp.isEmpty()) QFile::remove(m_temp);
}

bool Baustelle::fehlschlag(int fehlernummer) {
  m_fehler = Schreibfehler(m_ziel, Systemfehler(fehlernummer, m_ziel));
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  if (!m_temp.isEmpty()) QFile::remove(m_temp);
  m_temp.clear();
  return false;
}

bool Baustelle::schreiben(const char* daten, qint64 laenge) {
  if (m_fd < 0) return false;
  // In pieces, so that a failing write is seen where it happens.
  constexpr qint64 kStueck = 1 << 16;
  while (laenge > 0) {
    if (simulierterFehler()) return fehlschlag(errno);
    const unsigned stueck = static_cast<unsigned>(std::min(laenge, kStueck));
#ifdef Q_OS_UNIX
    const ssize_t n = ::write(m_fd, daten, stueck);
    if (n < 0 && errno == EINTR) continue;
#else
    const int n = ::_write(m_fd, daten, stueck);
#endif
    if (n < 0) return fehlschlag(errno);
    if (n == 0) return fehlschlag(ENOSPC);
    daten += n;
    laenge -= n;
  }
  return true;
}

bool Baustelle::einsetzen() {
  if (m_fd < 0) return false;
  // The data must be on the disk before the new name points at it, or a
  // power cut could leave the name on an empty file; and a disk that filled
  // up reports it here at the latest.
  if (simulierterFehler()) return fehlschlag(errno);
#ifdef Q_OS_UNIX
  if (::fsync(m_fd) != 0) return fehlschlag(errno);
#else
  if (::_commit(m_fd) != 0) return fehlschlag(errno);
#endif
  // Network file systems report some write errors only when the file is closed.
  if (simulierterFehler()) return fehlschlag(errno);
  const int fd = m_fd;
  m_fd = -1;
  if (::close(fd) != 0) {
    m_fd = -1;
    return fehlschlag(errno);
  }
  const QString grund = DateiUmbenennen(m_temp, m_ziel);
  if (!grund.isEmpty()) {
    QFile::remove(m_temp);
    m_temp.clear();
    m_fehler = Schreibfehler(m_ziel, grund);
    return false;
  }
  m_eingesetzt = true;
#ifdef Q_OS_UNIX
  // The rename itself lives in the folder: sync it too. The file is in place
  // by now, so a folder that cannot be synced is no failure of the write.
  const int ordner = ::open(QFile::encodeName(QFileInfo(m_ziel).absolutePath()).constData(),
                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (ordner >= 0) {
    ::fsync(ordner);
    ::close(ordner);
  }
#endif
  return true;
}

QString DateiUmbenennen(const QString& von, const QString& nach) {
#ifdef Q_OS_WIN
  const std::wstring a = QDir::toNativeSeparators(von).toStdWString();
  const std::wstring b = QDir::toNativeSeparators(nach).toStdWString();
  if (!MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return qt_error_string(static_cast<int>(GetLastError()));
#else
  // rename(2) replaces the target in one step: readers see the old file or
  // the new one.
  if (::rename(QFile::encodeName(von).constData(), QFile::encodeName(nach).constData()) != 0)
    return Systemfehler(errno, nach);
#endif
  return QString();
}

QString DateiAtomarSchreiben(const QString& pfad, const QByteArray& daten) {
  return DateiAtomarSchreiben(pfad, daten, true);
}

QString DateiAtomarSchreiben(const QString& pfad, const QByteArray& daten, bool) {
  Baustelle b(pfad);
  if (!b.ok() || !b.schreiben(daten.constData(), daten.size()) || !b.einsetzen()) return b.fehler();
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
