// Runs quilo_mediagen into a temporary folder and checks what it wrote
// against media_manifest.txt: exact names, picture formats and sizes, the
// pictures at twice the size showing the same as the plain ones, playable
// non-silent WAVs, well-formed MIDI files, the tunes rendered from them, and
// identical bytes on a second run.
//
//   quilo_media_files_test <path to quilo_mediagen> <path to media_manifest.txt>

#include "audio/synth_settings.h"
#include "layout.h"
#include "model/ticket_design.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QSet>
#include <QSize>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

namespace {

int passed = 0, failed = 0;

void check(bool ok, const QString& what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAIL: %s\n", what.toUtf8().constData());
  }
}

// Expected picture sizes, by file name.
std::map<QString, QSize> expectedSizes() {
  std::map<QString, QSize> m;
  auto add = [&](std::initializer_list<const char*> names, QSize s) {
    for (const char* n : names) m[QString::fromUtf8(n)] = s;
  };
  add({"kihonfuremu.bmp"}, {900, 550});
  add({"3renbaken.bmp", "umatanbaken.bmp", "usermane.bmp"}, {335, 180});
  add({"PIRUPIRUoff.bmp", "PIRUPIRU.bmp", "cherrey.bmp", "7seven.bmp", "背景パネル.bmp"}, {110, 90});
  add({"zelkiachikiyou.bmp", "zelkiaseiun.bmp", "zelkiablackhool.bmp", "zelkiasenkou.bmp",
       "zelkiabakuhatsu.bmp"},
      {89, 89});
  add({"quilo_badge.bmp"}, {88, 31});
  add({"qubuorra77.bmp",
       "blackhoolg11.bmp",
       "ankokuseiun658.bmp",
       "ankokuseiun657.bmp",
       "Image206.jpg",
       "Image206_1.jpg",
       "Image206_2.jpg",
       "Image2666.JPG",
       "Image2667.JPG",
       "makaigazou.jpg",
       "makaigazou01.jpg",
       "makaigazou02.jpg",
       "makaigazou03.jpg",
       "makaigazou04.jpg",
       "makaigazou05.jpg",
       "makaigazou06.jpg",
       "ブラックホール緑PIRU1.bmp",
       "blackhoulg02.bmp",
       "blackhoulg01.bmp",
       "blackhoulg03.bmp",
       "Image204.jpg",
       "Image2060.jpg",
       "onibakuu0.JPG",
       "kibaku00.bmp",
       "onibakuu.JPG",
       "newseiunPIRU1.bmp",
       "newseiunPIRU2.bmp",
       "newseiunPIRU3.bmp",
       "newseiunPIRU6.bmp",
       "newseiunPIRU7.bmp"},
      {900, 550});
  add({"setsumei.bmp"}, {680, 450});
  add({"shutsuryoku_back.jpg"}, {480, 640});
  add({"quilo_icon.png"}, {256, 256});
  const struct {
    const char* stem;
    int w, h;
  } buttons[] = {
      {"btn_Form1_Command3", 168, 37}, {"btn_Form1_Command8", 168, 39}, {"btn_Form1_Command6", 168, 41},
      {"btn_Form1_Command1", 168, 45}, {"btn_Form1_Command2", 121, 49}, {"btn_Form1_Command10", 97, 49},
      {"btn_Form1_Command5", 97, 49},  {"btn_Form1_Command4", 121, 41}, {"btn_Form1_Command11", 81, 37},
      {"btn_Form1_Command12", 81, 37}, {"btn_Form1_Command13", 81, 37}, {"btn_Form2_Command2", 105, 49},
      {"btn_Form3_Command1", 113, 49}, {"btn_Form3_Command2", 105, 49}, {"btn_Form3_Option1", 153, 49},
      {"btn_Form3_Option2", 161, 49},  {"btn_Form3_Option3", 161, 49},  {"btn_Form1_Command14", 97, 31},
      {"btn_Form4_Command1", 150, 36}, {"btn_Form4_Command2", 150, 36}, {"btn_Form4_Command3", 110, 40},
      {"btn_Form4_Command4", 100, 40}, {"btn_Form4_Command5", 100, 30}, {"btn_Form4_Command6", 110, 30},
      {"btn_Form4_Command7", 110, 30}, {"btn_Form4_Command8", 110, 30}, {"btn_Form4_Command9", 84, 30},
      {"btn_Form4_Option1", 120, 40},  {"btn_Form4_Option2", 120, 40}};
  for (const auto& b : buttons) {
    m[QLatin1String(b.stem) + QLatin1String(".bmp")] = QSize(b.w, b.h);
    m[QLatin1String(b.stem) + QLatin1String("_down.bmp")] = QSize(b.w, b.h);
  }
  return m;
}

// Allowed playing time of each tune, in seconds (its MIDI source; the sound
// rendered from it lasts as long and its last notes' fading).
const std::map<QString, std::pair<double, double>> tuneLengths = {
    {QStringLiteral("nakipop.mid"), {50, 75}},
    {QStringLiteral("nakipops.mid"), {30, 45}},
};

// "name@2x.ext" is "name.ext" drawn with two pixels per window pixel.
const QLatin1String kSharp("@2x.");
QString plainName(const QString& name) { return QString(name).replace(kSharp, QLatin1String(".")); }

void checkPicture(const QString& path, const QString& name, const std::map<QString, QSize>& sizes) {
  const QString ext = QFileInfo(name).suffix().toLower();
  const QByteArray want = ext == QLatin1String("jpg") ? "jpeg" : ext.toLatin1();
  QImageReader reader(path);
  reader.setAutoDetectImageFormat(true);
  reader.setDecideFormatFromContent(true);
  check(reader.format() == want,
        name + QStringLiteral(": content is '%1', expected '%2'")
                   .arg(QString::fromLatin1(reader.format()), QString::fromLatin1(want)));
  auto it = sizes.find(plainName(name));
  if (it == sizes.end()) {
    check(false, name + QStringLiteral(": no expected size known for this picture"));
    return;
  }
  const QSize expected = name.contains(kSharp) ? it->second * 2 : it->second;
  const QImage img = reader.read();
  check(!img.isNull(), name + QStringLiteral(": does not decode: ") + reader.errorString());
  if (img.isNull()) return;
  check(img.size() == expected, name + QStringLiteral(": size %1x%2, expected %3x%4")
                                           .arg(img.width())
                                           .arg(img.height())
                                           .arg(expected.width())
                                           .arg(expected.height()));
  // a blank or nearly flat picture is not finished artwork
  QSet<QRgb> colours;
  for (int y = 0; y < img.height() && colours.size() < 16; y += 2)
    for (int x = 0; x < img.width() && colours.size() < 16; x += 2)
      colours.insert(img.pixel(x, y) >> 4 & 0x0f0f0f);
  check(colours.size() >= 16, name + QStringLiteral(": only %1 distinct colours").arg(colours.size()));
}

// The main window prints its labels over the two betting tickets; the art
// must leave those places as light paper so that the black text stays legible.
// The places come from the window design: the labels each ticket face shows,
// in picture pixels, each checked with a 2 px margin.
std::vector<QRect> ticketLabelPlaces(bool trifecta) {
  const quilo::TicketKind kind = trifecta ? quilo::TicketKind::Trifecta : quilo::TicketKind::Exacta;
  std::vector<QRect> r;
  for (const quilo::layout::Place& place : quilo::layout::ticketLabels())
    if (quilo::ticket_shows(kind, place.key)) r.push_back(place.rect);
  return r;
}

// Pixels of `area` darker than plain paper.
int darkPixels(const QImage& img, const QRect& area) {
  int dark = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(img.pixel(x, y)) < 190) ++dark;
  return dark;
}

void checkTicketPaper(const QString& path, const QString& name, bool trifecta) {
  const QImage img = QImage(path).convertToFormat(QImage::Format_RGB32);
  if (img.isNull()) return;
  const std::vector<QRect> places = ticketLabelPlaces(trifecta);
  // the header, the code numbers and four rows of bets at the least
  check(places.size() >= 10 + 4 * 7, name + QStringLiteral(": only %1 label places").arg(places.size()));
  for (const QRect& place : places) {
    // the outermost pixel ring is the paper's edge line, allowed under labels that reach it
    const QRect area = place.adjusted(-2, -2, 2, 2).intersected(img.rect().adjusted(1, 1, -1, -1));
    const int dark = darkPixels(img, area);
    // at most a thin frame line may cross a place: a few percent of its pixels
    const int total = area.width() * area.height();
    check(dark * 100 <= total * 4,
          name + QStringLiteral(": label place %1,%2 %3x%4 is not plain paper (%5 of %6 pixels dark)")
                     .arg(place.x())
                     .arg(place.y())
                     .arg(place.width())
                     .arg(place.height())
                     .arg(dark)
                     .arg(total));
  }
}

// The main window's backgrounds lie under the ticket picture (312,120 335x180)
// and continue its paper below it, where the stub's lowest labels reach down
// to y 305; the edge line runs along the bottom row.
void checkTicketBed(const QString& path, const QString& name) {
  const QImage img = QImage(path).convertToFormat(QImage::Format_RGB32);
  if (img.isNull()) return;
  const QRect underLabels(314, 300, 331, 5);
  const int dark = darkPixels(img, underLabels);
  check(
      dark * 100 <= underLabels.width() * underLabels.height() * 4,
      name + QStringLiteral(": the ticket's paper below the picture is missing (%1 pixels dark)").arg(dark));
}

// The colour that stands for see-through in button pictures.
const QRgb kKey = qRgb(255, 0, 255);

// Button pictures are see-through round their rounded body: the corners hold
// the key colour, which the program keys out; the body does not.
void checkButtonKey(const QString& path, const QString& name) {
  const QImage img = QImage(path).convertToFormat(QImage::Format_RGB32);
  if (img.isNull()) return;
  const int w = img.width(), h = img.height();
  for (QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
    check(img.pixel(corner) == kKey,
          name + QStringLiteral(": corner %1,%2 is not see-through").arg(corner.x()).arg(corner.y()));
  int inside = 0;
  for (int y = h / 4; y < h * 3 / 4; ++y)
    for (int x = w / 4; x < w * 3 / 4; ++x) inside += img.pixel(x, y) == kKey;
  check(inside == 0, name + QStringLiteral(": %1 see-through pixels inside the button").arg(inside));
}

// A picture at twice the size shows what the plain one shows, only sharper:
// averaged down to the plain size, each block of 4x4 plain pixels is close to
// the plain picture's (a shape drawn at the wrong place or size is not).
// Blocks with a button's see-through key colour are left out: its edge falls
// on other pixels at either size.
void checkSharpPicture(const QString& sharpPath, const QString& plainPath, const QString& name) {
  const QImage sharp = QImage(sharpPath).convertToFormat(QImage::Format_RGB32);
  const QImage plain = QImage(plainPath).convertToFormat(QImage::Format_RGB32);
  if (sharp.isNull() || plain.isNull() || sharp.size() != plain.size() * 2) return;
  const int block = 4;
  double worst = 0;
  for (int by = 0; by + block <= plain.height(); by += block)
    for (int bx = 0; bx + block <= plain.width(); bx += block) {
      double diff[3] = {0, 0, 0};
      bool keyed = false;
      for (int y = by * 2; y < (by + block) * 2; ++y)
        for (int x = bx * 2; x < (bx + block) * 2; ++x) {
          const QRgb s = sharp.pixel(x, y), p = plain.pixel(x / 2, y / 2);
          keyed = keyed || s == kKey || p == kKey;
          diff[0] += qRed(s) - qRed(p);
          diff[1] += qGreen(s) - qGreen(p);
          diff[2] += qBlue(s) - qBlue(p);
        }
      if (keyed) continue;
      for (double d : diff) worst = std::max(worst, std::abs(d) / (block * block * 4));
    }
  check(
      worst <= 32,
      name + QStringLiteral(": differs from the plain picture by up to %1 in a block").arg(worst, 0, 'f', 1));
}

void checkWav(const QByteArray& d, const QString& name) {
  auto u16 = [&](int at) { return qFromLittleEndian<quint16>(d.constData() + at); };
  auto u32 = [&](int at) { return qFromLittleEndian<quint32>(d.constData() + at); };
  if (d.size() < 44 || !d.startsWith("RIFF") || d.mid(8, 4) != "WAVE") {
    check(false, name + QStringLiteral(": not a RIFF/WAVE file"));
    return;
  }
  int fmt = -1, data = -1;
  quint32 dataSize = 0;
  for (int at = 12; at + 8 <= d.size();) {
    const QByteArray id = d.mid(at, 4);
    const quint32 size = u32(at + 4);
    if (id == "fmt ") fmt = at + 8;
    if (id == "data") {
      data = at + 8;
      dataSize = size;
    }
    at += 8 + int(size) + int(size & 1);
  }
  check(fmt > 0 && data > 0 && data + qint64(dataSize) <= d.size(),
        name + QStringLiteral(": missing or truncated chunks"));
  if (fmt < 0 || data < 0 || data + qint64(dataSize) > d.size()) return;
  const int format = u16(fmt), channels = u16(fmt + 2), bits = u16(fmt + 14);
  const quint32 rate = u32(fmt + 4);
  check(format == 1 && bits == 16, name + QStringLiteral(": not 16-bit PCM"));
  check(channels == 1 || channels == 2, name + QStringLiteral(": %1 channels").arg(channels));
  check(rate == 22050 || rate == 44100, name + QStringLiteral(": rate %1").arg(rate));
  if (channels < 1 || rate == 0) return;
  const qint64 frames = dataSize / (2 * channels);
  const double seconds = double(frames) / rate;
  check(seconds >= 0.3 && seconds <= 2.5, name + QStringLiteral(": lasts %1 s").arg(seconds));
  double sum = 0;
  int peak = 0;
  for (quint32 i = 0; i + 1 < dataSize; i += 2) {
    const int v = qFromLittleEndian<qint16>(d.constData() + data + i);
    sum += double(v) * v;
    peak = std::max(peak, std::abs(v));
  }
  const double rms = std::sqrt(sum / std::max<qint64>(1, dataSize / 2)) / 32768.0;
  check(rms > 0.02, name + QStringLiteral(": too quiet (RMS %1)").arg(rms));
  check(peak < 32767, name + QStringLiteral(": clips"));
}

// Parses a Standard MIDI File; returns its playing time, or nothing if malformed.
struct MidiInfo {
  int format = -1, tracks = 0, noteOns = 0;
  bool drums = false, tempoSet = false;
  double seconds = 0;
};

std::optional<MidiInfo> parseMidi(const QByteArray& d) {
  auto be32 = [&](int at) { return qFromBigEndian<quint32>(d.constData() + at); };
  auto be16 = [&](int at) { return qFromBigEndian<quint16>(d.constData() + at); };
  if (d.size() < 14 || !d.startsWith("MThd") || be32(4) != 6) return std::nullopt;
  MidiInfo info;
  info.format = be16(8);
  const int declared = be16(10), division = be16(12);
  if (info.format > 1 || division & 0x8000 || division == 0) return std::nullopt;
  std::vector<std::pair<quint64, quint32>> tempos;  // tick, microseconds per quarter
  quint64 lastTick = 0;
  int at = 14;
  while (at + 8 <= d.size()) {
    if (d.mid(at, 4) != "MTrk") return std::nullopt;
    const int end = at + 8 + int(be32(at + 4));
    if (end > d.size()) return std::nullopt;
    at += 8;
    quint64 tick = 0;
    int status = 0;
    bool ended = false;
    auto byte = [&]() -> int { return at < end ? quint8(d[at++]) : -1; };
    auto varLen = [&]() -> qint64 {
      qint64 v = 0;
      for (int i = 0; i < 4; ++i) {
        const int b = byte();
        if (b < 0) return -1;
        v = (v << 7) | (b & 0x7f);
        if (!(b & 0x80)) return v;
      }
      return -1;
    };
    while (at < end && !ended) {
      const qint64 delta = varLen();
      if (delta < 0) return std::nullopt;
      tick += quint64(delta);
      int b = byte();
      if (b < 0) return std::nullopt;
      if (b == 0xff) {
        const int type = byte();
        const qint64 len = varLen();
        if (type < 0 || len < 0 || at + len > end) return std::nullopt;
        if (type == 0x51 && len == 3) {
          tempos.push_back(
              {tick, (quint32(quint8(d[at])) << 16) | (quint32(quint8(d[at + 1])) << 8) | quint8(d[at + 2])});
          info.tempoSet = true;
        }
        if (type == 0x2f) ended = true;
        at += int(len);
        continue;
      }
      if (b == 0xf0 || b == 0xf7) {
        const qint64 len = varLen();
        if (len < 0) return std::nullopt;
        at += int(len);
        continue;
      }
      int first;
      if (b & 0x80) {
        status = b;
        first = byte();
      } else {
        if (!status) return std::nullopt;  // running status without a status byte
        first = b;
      }
      const int kind = status & 0xf0;
      const int second = (kind == 0xc0 || kind == 0xd0) ? 0 : byte();
      if (first < 0 || second < 0 || first > 127 || second > 127) return std::nullopt;
      if (kind == 0x90 && second > 0) {
        ++info.noteOns;
        if ((status & 0x0f) == 9) info.drums = true;
      }
    }
    if (!ended || at != end) return std::nullopt;
    lastTick = std::max(lastTick, tick);
    ++info.tracks;
  }
  if (at != d.size() || info.tracks != declared) return std::nullopt;
  // playing time through the tempo map
  std::sort(tempos.begin(), tempos.end());
  quint64 prevTick = 0;
  double us = 500000, seconds = 0;
  for (auto [t, tempo] : tempos) {
    if (t > lastTick) break;
    seconds += double(t - prevTick) / division * us / 1e6;
    prevTick = t;
    us = tempo;
  }
  seconds += double(lastTick - prevTick) / division * us / 1e6;
  info.seconds = seconds;
  return info;
}

void checkMidi(const QByteArray& d, const QString& name) {
  const auto info = parseMidi(d);
  check(info.has_value(), name + QStringLiteral(": not a well-formed Standard MIDI File"));
  if (!info) return;
  check(info->tempoSet, name + QStringLiteral(": no tempo set"));
  check(info->noteOns >= 100, name + QStringLiteral(": only %1 notes").arg(info->noteOns));
  check(info->drums, name + QStringLiteral(": no drums on channel 10"));
  const auto range = tuneLengths.find(name);
  check(range != tuneLengths.end(), name + QStringLiteral(": unexpected tune"));
  if (range != tuneLengths.end())
    check(info->seconds >= range->second.first && info->seconds <= range->second.second,
          name + QStringLiteral(": plays %1 s").arg(info->seconds));
}

// The playing time of an Ogg Vorbis file of kMusicRate stereo (the granule of
// its last page in frames); nothing when it is not one.
std::optional<double> vorbisSeconds(const QByteArray& d) {
  // The first page carries the identification header alone: "\x01vorbis",
  // the version, the channels and the rate.
  if (d.size() < 58 || !d.startsWith("OggS") || d.mid(28, 7) != "\x01vorbis") return std::nullopt;
  const int channels = quint8(d[39]);
  const quint32 rate = qFromLittleEndian<quint32>(d.constData() + 40);
  if (channels != 2 || rate != quint32(quilo::kMusicRate)) return std::nullopt;
  const qsizetype last = d.lastIndexOf("OggS");
  if (last < 0 || last + 14 > d.size() || !(quint8(d[last + 5]) & 4)) return std::nullopt;  // end of stream
  return double(qFromLittleEndian<qint64>(d.constData() + last + 6)) / rate;
}

bool runGenerator(const QString& exe, const QString& out) {
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.start(exe, {out});
  if (!p.waitForFinished(120000)) return false;
  std::printf("%s", p.readAllStandardOutput().constData());
  return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

std::map<QString, QByteArray> hashes(const QString& root) {
  std::map<QString, QByteArray> m;
  QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    m[QDir(root).relativeFilePath(path)] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
  }
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s QUILO_MEDIAGEN MEDIA_MANIFEST\n", argv[0]);
    return 2;
  }
  const QString generator = QString::fromLocal8Bit(argv[1]);
  QFile manifestFile(QString::fromLocal8Bit(argv[2]));
  if (!manifestFile.open(QIODevice::ReadOnly | QIODevice::Text)) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 2;
  }
  QStringList manifest;
  for (const QByteArray& raw : manifestFile.readAll().split('\n')) {
    const QString line = QString::fromUtf8(raw).trimmed();
    if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) manifest << line;
  }

  QTemporaryDir first, second;
  const bool ran = runGenerator(generator, first.path());
  check(ran, QStringLiteral("generator run exits with 0"));
  if (!ran) return 1;

  // the folder holds exactly the manifest, with the same spelling and case
  const auto produced = hashes(first.path());
  QSet<QString> listed(manifest.begin(), manifest.end());
  check(listed.size() == manifest.size(), QStringLiteral("manifest has duplicate lines"));
  for (const QString& name : manifest)
    check(produced.count(name) == 1, QStringLiteral("missing file ") + name);
  for (const auto& [name, hash] : produced)
    check(listed.contains(name), QStringLiteral("file not in the manifest: ") + name);

  const auto sizes = expectedSizes();
  for (const QString& rel : manifest) {
    const QString path = first.path() + QLatin1Char('/') + rel;
    const QString name = QFileInfo(rel).fileName();
    const QString ext = QFileInfo(rel).suffix().toLower();
    if (!QFileInfo::exists(path)) continue;
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    if (rel.startsWith(QLatin1String("GF/")) &&
        (ext == QLatin1String("bmp") || ext == QLatin1String("jpg") || ext == QLatin1String("png"))) {
      checkPicture(path, name, sizes);
      if (name == QLatin1String("3renbaken.bmp") || name == QLatin1String("umatanbaken.bmp"))
        checkTicketPaper(path, name, name.startsWith(QLatin1Char('3')));
      if (sizes.count(name) && sizes.at(name) == QSize(900, 550)) checkTicketBed(path, name);
      if (name.startsWith(QLatin1String("btn_"))) checkButtonKey(path, name);
      if (name.contains(kSharp))
        checkSharpPicture(path, first.path() + QLatin1Char('/') + plainName(rel), name);
    } else if (rel.startsWith(QLatin1String("se/")) && ext == QLatin1String("wav"))
      checkWav(bytes, name);
    else if (rel.startsWith(QLatin1String("music/midi/")) && ext == QLatin1String("mid"))
      checkMidi(bytes, name);
    else if (rel.startsWith(QLatin1String("music/")) && ext == QLatin1String("ogg")) {
      // The tune as rendered from its source: as long as the source, and at
      // most a few seconds of fading more.
      const auto seconds = vorbisSeconds(bytes);
      check(seconds.has_value(), name + QStringLiteral(": not Ogg Vorbis at the music's rate, stereo"));
      QFile source(first.path() + QStringLiteral("/music/midi/") + QFileInfo(name).completeBaseName() +
                   QStringLiteral(".mid"));
      double sourceSeconds = -1;
      if (source.open(QIODevice::ReadOnly))
        if (const auto midi = parseMidi(source.readAll())) sourceSeconds = midi->seconds;
      check(sourceSeconds > 0, name + QStringLiteral(": no MIDI source beside it"));
      if (seconds && sourceSeconds > 0)
        check(*seconds >= sourceSeconds && *seconds <= sourceSeconds + 5,
              name + QStringLiteral(": plays %1 s, its source %2 s").arg(*seconds).arg(sourceSeconds));
    } else
      check(false, rel + QStringLiteral(": unexpected kind of file"));
  }
  for (const auto& [name, size] : sizes) {
    bool found = false;
    for (const QString& rel : manifest) found = found || QFileInfo(rel).fileName() == name;
    check(found, QStringLiteral("picture missing from the manifest: ") + name);
  }

  // the output is reproducible to the byte
  check(runGenerator(generator, second.path()), QStringLiteral("second generator run exits with 0"));
  const auto again = hashes(second.path());
  for (const auto& [name, hash] : produced) {
    const auto it = again.find(name);
    check(it != again.end() && it->second == hash, name + QStringLiteral(": differs between two runs"));
  }

  std::printf("media_files: %d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
