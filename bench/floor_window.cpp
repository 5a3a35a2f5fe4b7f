// The floors the program is measured against, built from the main window's
// design so that they follow any change of it.
//
//   quilo_floor PROGRAM_FOLDER                        the text floor
//   quilo_floor PROGRAM_FOLDER --full EVENTS.json...  the full floor
//   quilo_floor PROGRAM_FOLDER --lean EVENTS.json...  the lean floor
//
// The text floor is a plain Qt window with the same controls, fonts, colours
// and visibility, and no pictures or sound. The full floor adds the start-up
// pictures (decoded as the window is built), the audio module opened once
// the window is on screen, as the program does, with the opening tune, and on
// each press of Command6 a replay of the next EVENTS.json: the pictures,
// sounds and pauses of a staging as the headless mode logs them. It keeps its
// pictures as the program does (its picture cache: what the window shows and
// the next picture of a staging, decoded during the pause before it). The lean
// floor, a yardstick that uses none of the program's picture code, decodes
// each picture when it is shown and keeps only what the window shows. All
// write "shown NS CPU_NS" (the process's processor time until then) and, with
// QUILO_TRACE_FRAMES=1, "frame FILE MS" to standard error as the program does.
#include "gui/deferred_audio.h"
#include "gui/form_view.h"
#include "gui/frame_trace.h"
#include "gui/picture_cache.h"
#include "model/control_names.h"
#include "model/window_design.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QFrame>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <cmath>
#include <memory>
#include <optional>

using namespace quilo;

namespace {

std::optional<QColor> colour(const ColorDesign& c) {
  if (c.type == ColorDesign::Type::Rgb) return QColor(c.rgb.r, c.rgb.g, c.rgb.b);
  if (c.type == ColorDesign::Type::System) return c.system == 8 ? QColor(Qt::black) : QColor(Qt::white);
  return std::nullopt;
}

QFont font_of(const FontDesign& f) {
  QFont font(f.family);
  font.setPixelSize(std::max(1, int(std::lround(f.points * 96.0 / 72.0))));
  font.setBold(f.bold);
  return font;
}

enum class Pictures { None, AsTheProgram, Lean };

class Floor : public QWidget {
 public:
  Floor(const QString& folder, Pictures pictures, QStringList stagings)
      : design_(form1_design()),
        folder_(folder),
        full_(pictures != Pictures::None),
        stagings_(std::move(stagings)) {
    setWindowTitle(design_.caption);
    setFixedSize(twips_to_px(design_.client_width), twips_to_px(design_.client_height));
    setFont(font_of(design_.default_font));
    if (pictures == Pictures::AsTheProgram) {
      cache_ = std::make_unique<PictureCache>(folder_ + QStringLiteral("/GF"));
      cache_->on_decoded = frame_trace::decoded;
      cache_->on_released = frame_trace::released;
    }
    if (full_) {
      audio_ = std::make_unique<DeferredAudio>(folder_);
      set_background(design_.background);
    }
    // Stacked as the program stacks them: pictures and frames at the bottom,
    // then labels, then what the user works with.
    const auto layer = [](Kind k) {
      return k == Kind::Image || k == Kind::Shape ? 0 : k == Kind::Label || k == Kind::Card ? 1 : 2;
    };
    for (int l = 0; l < 3; ++l)
      for (const ControlDesign& c : design_.controls)
        if (layer(c.kind) == l) add(c);
    if (full_) audio_->play_music(QStringLiteral("nakipop.mid"));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), colour(design_.back).value_or(QColor(16, 16, 32)));
    if (!background_.isNull()) p.drawPixmap(0, 0, background_);
    QTimer::singleShot(0, this, [file = background_file_] { frame_trace::painted(file); });
    if (!shown_) {
      shown_ = true;
      if (!frame_trace::enabled()) frame_trace::report_shown();
      if (full_) QTimer::singleShot(0, this, [this] { audio_->open(); });
    }
  }

 private:
  void add(const ControlDesign& c) {
    QWidget* w = make(c);
    if (c.kind == Kind::Image || c.kind == Kind::Shape || c.kind == Kind::Label || c.kind == Kind::Card)
      w->setAttribute(Qt::WA_TransparentForMouseEvents);
    w->setGeometry(twips_to_px(c.left), twips_to_px(c.top), twips_to_px(c.width), twips_to_px(c.height));
    if (!c.font.family.isEmpty()) w->setFont(font_of(c.font));
    QPalette pal = w->palette();
    if (auto b = colour(c.back)) pal.setColor(QPalette::Window, *b), pal.setColor(QPalette::Base, *b);
    if (auto f = colour(c.fore)) pal.setColor(QPalette::WindowText, *f), pal.setColor(QPalette::Text, *f);
    w->setPalette(pal);
    w->setVisible(c.initially_visible);
    widgets_.insert(c.key(), w);
  }

  // Not QPixmap(file): that keeps every picture in Qt's pixmap cache too.
  QPixmap picture(const QString& file) const {
    if (!full_ || file.isEmpty()) return {};
    if (cache_) return cache_->get(file);
    return QPixmap::fromImage(QImage(folder_ + QStringLiteral("/GF/") + file));
  }

  void set_background(const QString& file) {
    frame_trace::background_changed(file);
    background_file_ = file;
    background_ = picture(file);
    keep_shown();
    update();
  }

  void set_image(QLabel* image, const QString& file) {
    image_files_[image] = file;
    image->setPixmap(picture(file));
    keep_shown();
  }

  // As the program does after each change: only what the window shows and
  // what was decoded ahead stay.
  void keep_shown() {
    if (!cache_) return;
    QSet<QString> shown{background_file_};
    for (const QString& file : std::as_const(image_files_)) shown.insert(file);
    cache_->keep_only(shown);
  }

  QWidget* make(const ControlDesign& c) {
    switch (c.kind) {
      case Kind::Combo: {
        auto* cb = new QComboBox(this);
        cb->setEditable(true);
        cb->addItems(c.items);
        return cb;
      }
      case Kind::Text:
        return new QLineEdit(c.text, this);
      case Kind::Label:
      case Kind::Card: {
        auto* lb = new QLabel(c.text, this);
        lb->setAlignment((c.align == Align::Center ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        lb->setAutoFillBackground(c.back.type == ColorDesign::Type::Rgb);
        if (c.border) lb->setFrameShape(QFrame::Box);
        return lb;
      }
      case Kind::Image: {
        auto* im = new QLabel(this);
        set_image(im, c.picture);
        return im;
      }
      case Kind::Shape: {
        auto* sh = new QFrame(this);
        sh->setFrameShape(QFrame::Box);
        return sh;
      }
      case Kind::Button:
      case Kind::Option: {
        auto* b = new QPushButton(c.text, this);
        if (const QPixmap pm = picture(c.picture); !pm.isNull()) {
          b->setText({});
          b->setIcon(pm);
          b->setIconSize(pm.size());
          b->setFlat(true);
        }
        if (c.key() == form1::Command6.text()) connect(b, &QPushButton::clicked, this, [this] { replay(); });
        return b;
      }
      case Kind::DriveList:
        return new QComboBox(this);
      case Kind::List:
      case Kind::DirList:
      case Kind::FileList:
      case Kind::Table:  // not in the main window
      case Kind::Chart:
        break;
    }
    return new QListWidget(this);
  }

  // Plays the next staging's events: its sounds, pictures and pauses.
  void replay() {
    if (!full_ || stagings_.isEmpty()) return;
    QFile f(stagings_.takeFirst());
    if (!f.open(QIODevice::ReadOnly)) return;
    const QJsonArray events = QJsonDocument::fromJson(f.readAll()).array();
    for (qsizetype i = 0; i < events.size(); ++i) {
      const QJsonObject e = events[i].toObject();
      const QString kind = e.value(QStringLiteral("kind")).toString();
      const QString file = e.value(QStringLiteral("file")).toString();
      if (kind == QLatin1String("se")) {
        audio_->play_effect(file);
      } else if (kind == QLatin1String("midi_open")) {
        audio_->play_music(file);
      } else if (kind == QLatin1String("midi_close")) {
        audio_->stop_music();
      } else if (kind == QLatin1String("background")) {
        set_background(file);
      } else if (kind == QLatin1String("picture")) {
        if (auto* im = qobject_cast<QLabel*>(widgets_.value(e.value(QStringLiteral("target")).toString())))
          set_image(im, file);
      } else if (kind == QLatin1String("pause")) {
        if (cache_) decode_ahead(events, i + 1);
        QEventLoop loop;
        QTimer::singleShot(int(std::ceil(e.value(QStringLiteral("seconds")).toDouble() * 1000)),
                           Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
      }
    }
    if (cache_) cache_->forget_ahead();
  }

  // As the program does during a staging's pause: the picture it shows next
  // is decoded meanwhile.
  void decode_ahead(const QJsonArray& events, qsizetype from) {
    for (qsizetype i = from; i < events.size(); ++i) {
      const QJsonObject e = events[i].toObject();
      const QString kind = e.value(QStringLiteral("kind")).toString();
      if (kind == QLatin1String("pause")) return;
      if (kind == QLatin1String("background") || kind == QLatin1String("picture")) {
        cache_->prefetch({e.value(QStringLiteral("file")).toString()});
        return;
      }
    }
  }

  FormDesign design_;
  QString folder_;
  bool full_;
  QStringList stagings_;
  std::unique_ptr<PictureCache> cache_;  // the full floor's pictures
  std::unique_ptr<DeferredAudio> audio_;
  QHash<QLabel*, QString> image_files_;
  QHash<QString, QWidget*> widgets_;
  QPixmap background_;
  QString background_file_;
  bool shown_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  if (args.isEmpty()) {
    std::fprintf(stderr, "usage: quilo_floor PROGRAM_FOLDER [--full | --lean STAGING_EVENTS.json...]\n");
    return 2;
  }
  const QString folder = args.takeFirst();
  const QString mode = args.isEmpty() ? QString() : args.takeFirst();
  const Pictures pictures = mode == QLatin1String("--full")   ? Pictures::AsTheProgram
                            : mode == QLatin1String("--lean") ? Pictures::Lean
                                                              : Pictures::None;
  install_font_substitutions();
  Floor floor(folder, pictures, args);
  floor.show();
  return app.exec();
}
