// Offline rendering of the tunes (FluidSynth) and their encoding (libvorbisenc).
#include "tune_render.h"

#include "platform/sound_fonts.h"

#include <fluidsynth.h>
#include <vorbis/vorbisenc.h>

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>

namespace quilo {

namespace {

// The first of the system's soundfonts that is there, as the file's name;
// empty when there is none.
QByteArray soundfont() {
  for (const QString& sf : platform::general_midi_soundfonts())
    if (QFile::exists(sf)) return QFile::encodeName(sf);
  return {};
}

void appendPage(QByteArray& out, const ogg_page& page) {
  out.append(reinterpret_cast<const char*>(page.header), page.header_len);
  out.append(reinterpret_cast<const char*>(page.body), page.body_len);
}

}  // namespace

RenderedTune renderTune(const QByteArray& midi, int polyphony) {
  // FluidSynth sets up its shared tables on the first synthesiser it makes,
  // which is not safe from two threads at once; the generator has two.
  static std::mutex one_at_a_time;
  const std::lock_guard<std::mutex> lock(one_at_a_time);
  const QByteArray sf = soundfont();
  if (sf.isEmpty()) {
    std::fprintf(stderr, "quilo_mediagen: no General MIDI soundfont installed (timgm6mb-soundfont)\n");
    return {};
  }
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  fluid_settings_t* settings = new_fluid_settings();
  fluid_settings_setnum(settings, "synth.sample-rate", kMusicRate);
  fluid_settings_setnum(settings, "synth.gain", kMusicGain);
  fluid_settings_setint(settings, "synth.polyphony", polyphony);
  // The player advances with the samples written, not the wall clock: the
  // same tune renders to the same samples however busy the machine is.
  fluid_settings_setstr(settings, "player.timing-source", "sample");
  fluid_synth_t* synth = new_fluid_synth(settings);
  RenderedTune rendered;
  std::vector<float>& out = rendered.samples;
  if (synth && fluid_synth_sfload(synth, sf.constData(), 1) != FLUID_FAILED) {
    fluid_player_t* player = new_fluid_player(synth);
    fluid_player_add_mem(player, midi.constData(), size_t(midi.size()));
    fluid_player_play(player);
    constexpr int kBlock = 1024;
    const int limit = kMusicRate * 300 / kBlock;  // five minutes at most
    float left[kBlock], right[kBlock];
    for (int i = 0; i < limit; ++i) {
      // After the last event, until the last voice has faded.
      if (fluid_player_get_status(player) != FLUID_PLAYER_PLAYING &&
          fluid_synth_get_active_voice_count(synth) == 0)
        break;
      fluid_synth_write_float(synth, kBlock, left, 0, 1, right, 0, 1);
      rendered.mostVoices = std::max(rendered.mostVoices, fluid_synth_get_active_voice_count(synth));
      for (int f = 0; f < kBlock; ++f) {
        out.push_back(left[f]);
        out.push_back(right[f]);
      }
    }
    delete_fluid_player(player);
    // Voices in their release can stay active long after they are heard: the
    // tune ends with its last sample that a 16-bit output does not round to 0.
    constexpr float kInaudible = 0.5f / 32768;
    size_t end = out.size();
    while (end >= 2 && std::abs(out[end - 1]) < kInaudible && std::abs(out[end - 2]) < kInaudible) end -= 2;
    out.resize(end);
  } else {
    std::fprintf(stderr, "quilo_mediagen: soundfont %s cannot be read\n", sf.constData());
  }
  if (synth) delete_fluid_synth(synth);
  delete_fluid_settings(settings);
  return rendered;
}

QByteArray encodeVorbis(const std::vector<float>& samples) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 2, kMusicRate, kMusicQuality) != 0) {
    vorbis_info_clear(&info);
    return {};
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 0x51756c6f);  // a fixed serial number: the same bytes every build

  QByteArray out;
  ogg_packet id, comments, codebooks;
  vorbis_analysis_headerout(&dsp, &comment, &id, &comments, &codebooks);
  ogg_stream_packetin(&stream, &id);
  ogg_stream_packetin(&stream, &comments);
  ogg_stream_packetin(&stream, &codebooks);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) appendPage(out, page);

  const size_t frames = samples.size() / 2;
  constexpr size_t kChunk = 4096;
  for (size_t at = 0;; at += kChunk) {
    const size_t n = at < frames ? std::min(kChunk, frames - at) : 0;
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, int(n));
      for (size_t f = 0; f < n; ++f) {
        buffer[0][f] = samples[2 * (at + f)];
        buffer[1][f] = samples[2 * (at + f) + 1];
      }
    }
    vorbis_analysis_wrote(&dsp, int(n));  // 0: the end of the sound
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) appendPage(out, page);
      }
    }
    if (n == 0) break;
  }
  while (ogg_stream_flush(&stream, &page) != 0) appendPage(out, page);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

}  // namespace quilo
