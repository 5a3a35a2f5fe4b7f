// Music and effects are really heard: SDL's disk audio driver writes the mixed
// output to a file, which must hold sound at the program's one loudness, also
// when the program's folder has blanks in its path. The sound opens once the
// main window has been painted, and leaves SIGTERM and SIGINT their usual
// meaning.
#include "audio/synth_settings.h"
#include "gui/desktop_shell.h"
#include "sound_level.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace quilo;

namespace {

qint64 size_of(const QString& path) { return QFileInfo(path).size(); }

// The mixed output's 16-bit stereo frames from byte offset FROM on.
std::vector<std::int16_t> samples_of(const QString& raw, qint64 from) {
  QFile f(raw);
  if (!f.open(QIODevice::ReadOnly) || !f.seek(from)) return {};
  const QByteArray bytes = f.read((size_of(raw) - from) & ~qint64(3));
  std::vector<std::int16_t> samples(size_t(bytes.size() / 2));
  std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
  return samples;
}

// Loud samples in the mixed output from byte offset FROM on.
int loud_samples(const QString& raw, qint64 from) {
  int loud = 0;
  for (std::int16_t s : samples_of(raw, from)) loud += std::abs(s) > 600;
  return loud;
}

// The level of the mixed output (at the music's rate) from byte offset FROM on.
test::SoundLevel level_of(const QString& raw, qint64 from) {
  return test::measure_level(samples_of(raw, from), 2, kMusicRate);
}

// The level as heard is the program's one loudness, give or take 3 dB for a
// few seconds of a tune or one effect.
void expect_heard_level(const std::string& what, const test::SoundLevel& l) {
  const std::string figures = test::describe_level(what, l);
  std::printf("%s\n", figures.c_str());
  EXPECT_GE(l.rms_db, test::kQuietestRms - 3) << figures;
  EXPECT_LE(l.rms_db, test::kLoudestRms + 3) << figures;
  EXPECT_LE(l.peak_db, test::kHighestPeak) << figures;
  EXPECT_EQ(l.clipped, 0) << figures;
}

}  // namespace

TEST(Audio, MusicAndEffectsSoundFromAFolderWithBlanks) {
  QTemporaryDir tmp;
  const QString program = tmp.filePath("Quilo プログラム folder");
  ASSERT_TRUE(QDir().mkpath(program));
  const QString media = QFileInfo(QStringLiteral(QUILO_BINARY)).absolutePath();
  ASSERT_TRUE(QFile::link(media + "/GF", program + "/GF"));
  ASSERT_TRUE(QFile::link(media + "/se", program + "/se"));
  ASSERT_TRUE(QFile::link(media + "/music", program + "/music"));
  ASSERT_TRUE(QFile::link(media + "/quilo_audio.so", program + "/quilo_audio.so"));

  const QString raw = tmp.filePath("mixed.raw");
  const QByteArray old_driver = qgetenv("SDL_AUDIODRIVER");
  qputenv("SDL_AUDIODRIVER", "disk");
  qputenv("SDL_DISKAUDIOFILE", raw.toLocal8Bit());
  {
    test::Session session;
    DesktopShell shell(program);
    EXPECT_FALSE(shell.platform().audio().ready());
    shell.start();  // the opening tune, asked for before the sound opens
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell.platform().audio().ready(); }, 5000));
    for (int sig : {SIGTERM, SIGINT}) {
      struct sigaction action {};
      sigaction(sig, nullptr, &action);
      EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << sig << " is caught";
    }
    QTest::qWait(2500);
    EXPECT_TRUE(shell.platform().audio().music_playing());
    EXPECT_GT(loud_samples(raw, 0), 10000) << "the opening tune is silent";
    expect_heard_level("opening tune, as mixed", level_of(raw, 0));

    shell.app().main().close_midi();
    QTest::qWait(300);
    qint64 mark = size_of(raw);
    QTest::qWait(500);
    EXPECT_LT(loud_samples(raw, mark), 50) << "the music did not stop";

    mark = size_of(raw);
    shell.app().main().play_se("fm009.wav");
    QTest::qWait(800);
    EXPECT_GT(loud_samples(raw, mark), 2000) << "the effect is silent";
    expect_heard_level("fm009.wav, as mixed", level_of(raw, mark));

    // Every effect the program has, each cutting off the one before.
    const QStringList effects = QDir(media + "/se").entryList({"*.wav"}, QDir::Files);
    ASSERT_EQ(effects.size(), 12);
    for (const QString& effect : effects) {
      mark = size_of(raw);
      shell.app().main().play_se(effect);
      QTest::qWait(350);
      EXPECT_GT(loud_samples(raw, mark), 300) << effect.toStdString() << " is silent";
    }

    // The output window's tune.
    mark = size_of(raw);
    shell.app().main().play_midi("nakipops.mid");
    QTest::qWait(2000);
    EXPECT_GT(loud_samples(raw, mark), 10000) << "nakipops.mid is silent";
    shell.app().main().close_midi();

    // A missing effect plays the default sound instead.
    QTest::qWait(1500);
    mark = size_of(raw);
    shell.app().main().play_se("no_such_effect.wav");
    QTest::qWait(500);
    EXPECT_GT(loud_samples(raw, mark), 500) << "no default sound";
  }
  qputenv("SDL_AUDIODRIVER", old_driver);
  qunsetenv("SDL_DISKAUDIOFILE");
}
