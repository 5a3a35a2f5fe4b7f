#include "buttons.h"

#include "effects.h"
#include "layout.h"
#include "media.h"
#include "paint.h"

#include <QFontMetricsF>
#include <QRadialGradient>

namespace quilo {

namespace {

// Largest font size at which the caption fits the given box.
QFont fitFont(const QString& text, const char* family, double maxPx, double width, double height, bool bold) {
  for (double px = maxPx; px > 6; px -= 0.5) {
    const QFont f = jpFont(family, px, bold);
    const QRectF r = textPath(text, f, {0, 0}).boundingRect();
    if (r.width() <= width && r.height() <= height) return f;
  }
  return jpFont(family, 6, bold);
}

}  // namespace

QImage buttonImage(QSize size, const ButtonLook& look, bool down) {
  const int w = size.width(), h = size.height();
  QImage img = canvas(w, h, QColor(10, 8, 24));
  QPainter p;
  beginPainter(p, img);

  const double shift = down ? 1.5 : 0.0;
  const double radius = std::min(h / 2.8, 11.0);
  const QRectF body = QRectF(2.5, 2.5, w - 5.0, h - 5.5).translated(shift * 0.7, shift);
  QColor base = look.base;
  if (down) base = base.darker(look.kind == ButtonLook::Option ? 105 : 135);

  // drop shadow under the raised body
  if (!down) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(body.translated(0.5, 1.5), radius, radius);
  }

  QPainterPath shape;
  shape.addRoundedRect(body, radius, radius);
  QLinearGradient bodyGrad(body.topLeft(), body.bottomLeft());
  bodyGrad.setColorAt(0.0, base.lighter(165));
  bodyGrad.setColorAt(0.48, base.lighter(110));
  bodyGrad.setColorAt(0.52, base);
  bodyGrad.setColorAt(1.0, base.darker(190));
  if (look.kind == ButtonLook::Oni) {
    bodyGrad.setColorAt(0.0, base.lighter(140));
    bodyGrad.setColorAt(0.5, base.darker(120));
    bodyGrad.setColorAt(1.0, QColor(12, 0, 0));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(bodyGrad);
  p.drawPath(shape);

  p.save();
  p.setClipPath(shape);
  if (look.kind == ButtonLook::Oni) {
    // flames along the bottom of the body
    p.restore();
    p.end();
    flames(img, body.adjusted(0, body.height() * 0.25, 0, 0), 77 + uint32_t(w), down ? 0.75f : 1.0f);
    beginPainter(p, img);
    p.save();
    p.setClipPath(shape);
  }
  if (look.kind == ButtonLook::Makai) {
    // faint rune ring and green mist inside the body
    QRadialGradient mist(body.center() + QPointF(0, body.height() * 0.4), body.width() * 0.5);
    mist.setColorAt(0, QColor(80, 255, 120, down ? 70 : 120));
    mist.setColorAt(1, QColor(80, 255, 120, 0));
    p.setBrush(mist);
    p.drawRect(body);
    p.setPen(QPen(QColor(120, 255, 160, 70), 1));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i)
      p.drawEllipse(body.center(), body.width() * (0.3 + 0.12 * i), body.height() * (0.7 + 0.2 * i));
    p.setPen(Qt::NoPen);
  }
  if (look.kind == ButtonLook::Flashy || look.kind == ButtonLook::Makai) {
    // diagonal light streaks
    Rng rng(uint64_t(w) * 131 + uint64_t(h));
    for (int i = 0; i < 5; ++i) {
      const double x = body.left() + rng.uniform() * body.width();
      QLinearGradient g(x, body.top(), x + 14, body.bottom());
      g.setColorAt(0, QColor(255, 255, 255, 0));
      g.setColorAt(0.5, QColor(255, 255, 255, down ? 18 : 38));
      g.setColorAt(1, QColor(255, 255, 255, 0));
      QPainterPath band;
      const double bw = rng.range(3, 9);
      band.moveTo(x, body.top());
      band.lineTo(x + bw, body.top());
      band.lineTo(x + bw - body.height() * 0.6, body.bottom());
      band.lineTo(x - body.height() * 0.6, body.bottom());
      band.closeSubpath();
      p.setBrush(g);
      p.drawPath(band);
    }
  }
  // light rising from the bottom rim
  QRadialGradient under(QPointF(body.center().x(), body.bottom() + body.height() * 0.15),
                        body.width() * 0.55);
  QColor uc = base.lighter(200);
  uc.setAlpha(down ? 60 : 110);
  under.setColorAt(0, uc);
  uc.setAlpha(0);
  under.setColorAt(1, uc);
  p.setBrush(under);
  p.drawRect(body);
  // gloss on the upper half
  const QRectF gloss(body.left() + 2, body.top() + 1.5, body.width() - 4, body.height() * 0.46);
  QLinearGradient gg(gloss.topLeft(), gloss.bottomLeft());
  gg.setColorAt(0, QColor(255, 255, 255, down ? 80 : 170));
  gg.setColorAt(1, QColor(255, 255, 255, down ? 6 : 24));
  p.setBrush(gg);
  p.drawRoundedRect(gloss, radius * 0.8, radius * 0.8);
  if (down) {
    // inner shadow: the button is sunk into the plate
    QLinearGradient inset(body.topLeft(), body.topLeft() + QPointF(0, 6));
    inset.setColorAt(0, QColor(0, 0, 0, 150));
    inset.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(inset);
    p.drawRect(body);
  }
  p.restore();

  // rim
  const bool golden = look.kind != ButtonLook::Plain && look.kind != ButtonLook::Option;
  p.setBrush(Qt::NoBrush);
  if (golden)
    p.setPen(QPen(QBrush(goldGradient(body.topLeft(), body.bottomLeft())), 1.6));
  else
    p.setPen(QPen(base.lighter(down ? 130 : 175), 1.2));
  p.drawPath(shape);
  p.setPen(QPen(QColor(0, 0, 0, 160), 1));
  p.drawRoundedRect(body.adjusted(-1, -1, 1, 1), radius + 1, radius + 1);

  // option buttons carry an indicator lamp: lit when selected
  double leftInset = 0;
  if (look.kind == ButtonLook::Option) {
    const QPointF lc(body.left() + 15, body.center().y());
    const double lr = 6.5;
    leftInset = 20;
    if (down) {
      QRadialGradient halo(lc, lr * 2.4);
      halo.setColorAt(0, QColor(120, 255, 140, 200));
      halo.setColorAt(1, QColor(120, 255, 140, 0));
      p.setPen(Qt::NoPen);
      p.setBrush(halo);
      p.drawEllipse(lc, lr * 2.4, lr * 2.4);
    }
    QRadialGradient lamp(lc - QPointF(2, 2), lr * 1.3);
    lamp.setColorAt(0, down ? QColor(240, 255, 240) : QColor(90, 100, 110));
    lamp.setColorAt(0.5, down ? QColor(60, 230, 90) : QColor(30, 40, 50));
    lamp.setColorAt(1, down ? QColor(0, 110, 30) : QColor(8, 10, 14));
    p.setBrush(lamp);
    p.setPen(QPen(QColor(0, 0, 0, 200), 1.2));
    p.drawEllipse(lc, lr, lr);
  }

  // caption
  const QRectF area = body.adjusted(6 + leftInset, 3, -6, -3);
  const double outline = std::clamp(h / 16.0, 1.6, 3.0);
  QLinearGradient fill(0, area.top() + area.height() * 0.15, 0, area.bottom() - area.height() * 0.15);
  fill.setColorAt(0, look.textTop);
  fill.setColorAt(1, look.textBottom);
  TextLook tl;
  tl.fill = fill;
  tl.outline = base.darker(330);
  tl.outlineWidth = outline;
  tl.shadow = QColor(0, 0, 0, 130);
  tl.shadowOffset = {1, 1.5};
  if (look.kind == ButtonLook::Makai) {
    tl.glow = QColor(90, 255, 120, down ? 120 : 200);
    tl.glowRadius = 5;
    tl.outline = QColor(20, 0, 40);
  } else if (look.kind == ButtonLook::Oni) {
    tl.glow = QColor(255, 120, 20, down ? 110 : 190);
    tl.glowRadius = 5;
    tl.outline = QColor(30, 0, 0);
  } else if (look.kind == ButtonLook::Flashy) {
    tl.glow = QColor(255, 255, 255, down ? 50 : 90);
    tl.glowRadius = 4;
  }
  const char* family =
      (look.kind == ButtonLook::Oni || look.kind == ButtonLook::Makai) ? fonts::Mincho : fonts::Gothic;
  const bool multi = look.text.contains(QLatin1Char('\n'));
  if (look.sub.isEmpty()) {
    const QFont f = fitFont(look.text, family, h * (multi ? 0.34 : 0.5) * look.textScale,
                            area.width() - outline * 2, area.height() - outline * 2, true);
    drawText(p, look.text, f, area.center(), tl);
  } else {
    // caption with a small letter-spaced word to its right
    const QFont subFont = jpFont(fonts::Gothic, std::max(8.0, h * 0.27), true, 1.0);
    const QPainterPath subPath = textPath(look.sub, subFont, {0, 0});
    const double subW = subPath.boundingRect().width();
    const QFont f =
        fitFont(look.text, family, h * 0.56, area.width() - subW - 14, area.height() - outline * 2, true);
    const QPainterPath mainPath = textPath(look.text, f, {0, 0});
    const double mainW = mainPath.boundingRect().width();
    const double gap = 8;
    const double x0 = area.center().x() - (mainW + gap + subW) / 2;
    drawStyled(p, textPath(look.text, f, {x0, area.center().y()}, Qt::AlignLeft | Qt::AlignVCenter), tl);
    TextLook st;
    st.fill = QBrush(goldGradient({0, area.top() + 4}, {0, area.bottom() - 4}));
    st.outline = QColor(20, 10, 0, 220);
    st.outlineWidth = 2.2;
    drawStyled(p,
               textPath(look.sub, subFont, {x0 + mainW + gap, area.center().y() + 1},
                        Qt::AlignLeft | Qt::AlignVCenter),
               st);
  }
  if (look.kind == ButtonLook::Flashy && !down) {
    drawSparkle(p, QPointF(body.right() - 10, body.top() + 6), 3.2, QColor(255, 255, 220));
    drawSparkle(p, QPointF(body.left() + 9, body.bottom() - 7), 2.4, QColor(255, 240, 255));
  }
  p.end();

  // Outside the rounded body, its rim and its shadow the picture is
  // see-through; the edge pixels keep the dark ground they were drawn on,
  // a dark rim round the button.
  img.convertTo(QImage::Format_ARGB32);
  QImage mask = layer(w, h);
  {
    QPainter m;
    beginPainter(m, mask);
    m.setPen(Qt::NoPen);
    m.setBrush(Qt::black);
    m.drawRoundedRect(body.adjusted(-1.5, -1.5, 1.5, 1.5), radius + 1.5, radius + 1.5);
    if (!down) m.drawRoundedRect(body.translated(0.5, 1.5), radius, radius);
  }
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    const auto* cover = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (qAlpha(cover[x]) < 128) line[x] = 0;
  }
  return img;
}

QImage keyedButtonImage(QSize size, const ButtonLook& look, bool down) {
  QImage img = buttonImage(size, look, down);
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (qAlpha(line[x]) == 0) line[x] = kButtonKey;
  }
  return img;
}

void addButtonPictures(MediaList& list) {
  const QColor navy(48, 64, 150), green(24, 150, 60);
  struct Button {
    const char *form, *name;
    ButtonLook look;
  };
  const Button buttons[] = {
      {"Form1",
       "Command3",
       {QStringLiteral("馬単"), QStringLiteral("EXACTA"), QColor(20, 84, 230), ButtonLook::Flashy}},
      {"Form1",
       "Command8",
       {QStringLiteral("３連単"), QStringLiteral("TRIFECTA"), QColor(220, 16, 110), ButtonLook::Flashy}},
      {"Form1",
       "Command6",
       {QStringLiteral("鬼爆馬単"),
        {},
        QColor(200, 24, 8),
        ButtonLook::Oni,
        QColor(255, 250, 200),
        QColor(255, 170, 40)}},
      {"Form1",
       "Command1",
       {QStringLiteral("魔界3連単"),
        {},
        QColor(110, 30, 180),
        ButtonLook::Makai,
        QColor(230, 255, 230),
        QColor(110, 255, 130)}},
      {"Form1", "Command2", {QStringLiteral("使用方法"), {}, QColor(16, 130, 140), ButtonLook::Plain}},
      {"Form1", "Command10", {QStringLiteral("出力"), {}, green, ButtonLook::Plain}},
      {"Form1",
       "Command5",
       {QStringLiteral("THE END"),
        {},
        QColor(150, 20, 40),
        ButtonLook::Plain,
        QColor(255, 255, 255),
        QColor(255, 210, 210),
        0.85}},
      {"Form1", "Command4", {QStringLiteral("上位設定決定"), {}, QColor(225, 112, 16), ButtonLook::Plain}},
      {"Form1", "Command11", {QStringLiteral("複勝"), {}, QColor(80, 150, 20), ButtonLook::Plain}},
      {"Form1", "Command12", {QStringLiteral("枠連"), {}, QColor(24, 130, 200), ButtonLook::Plain}},
      {"Form1",
       "Command13",
       {QStringLiteral("マハラジャ\nの教え"),
        {},
        QColor(190, 130, 10),
        ButtonLook::Plain,
        QColor(255, 255, 255),
        QColor(255, 236, 170),
        1.25}},
      {"Form1", "Command14", {QStringLiteral("成績"), {}, QColor(170, 40, 120), ButtonLook::Plain}},
      {"Form2", "Command2", {QStringLiteral("戻る"), {}, navy, ButtonLook::Plain}},
      {"Form3", "Command1", {QStringLiteral("出力実行"), {}, green, ButtonLook::Plain}},
      {"Form3", "Command2", {QStringLiteral("戻る"), {}, navy, ButtonLook::Plain}},
      {"Form3", "Option1", {QStringLiteral("ファイル出力"), {}, QColor(50, 86, 160), ButtonLook::Option}},
      {"Form3", "Option2", {QStringLiteral("ファイル&印刷"), {}, QColor(90, 56, 160), ButtonLook::Option}},
      {"Form3", "Option3", {QStringLiteral("今回分を印刷"), {}, QColor(120, 60, 130), ButtonLook::Option}},
      {"Form4", "Command1", {QStringLiteral("結果を保存"), {}, green, ButtonLook::Plain}},
      {"Form4", "Command2", {QStringLiteral("結果を削除"), {}, QColor(150, 20, 40), ButtonLook::Plain}},
      {"Form4", "Command3", {QStringLiteral("CSV出力"), {}, QColor(16, 130, 140), ButtonLook::Plain}},
      {"Form4", "Command4", {QStringLiteral("戻る"), {}, navy, ButtonLook::Plain}},
      {"Form4", "Command5", {QStringLiteral("集計"), {}, QColor(225, 112, 16), ButtonLook::Plain}},
      {"Form4", "Command6", {QStringLiteral("購入"), {}, green, ButtonLook::Plain}},
      {"Form4", "Command7", {QStringLiteral("購入取消"), {}, QColor(120, 90, 40), ButtonLook::Plain}},
      {"Form4", "Command8", {QStringLiteral("予想を削除"), {}, QColor(150, 20, 40), ButtonLook::Plain}},
      {"Form4", "Command9", {QStringLiteral("参照…"), {}, QColor(16, 130, 140), ButtonLook::Plain}},
      {"Form4", "Option1", {QStringLiteral("Windows-31J"), {}, QColor(50, 86, 160), ButtonLook::Option}},
      {"Form4", "Option2", {QStringLiteral("UTF-8"), {}, QColor(90, 56, 160), ButtonLook::Option}},
  };
  for (const Button& s : buttons) {
    // each picture has the size of its control in the window design
    const QString stem = QStringLiteral("GF/btn_%1_%2").arg(QLatin1String(s.form), QLatin1String(s.name));
    const QSize size = layout::buttonSize(QLatin1String(s.form), QLatin1String(s.name));
    const ButtonLook look = s.look;
    addPicture(list, stem + QStringLiteral(".bmp"),
               [size, look] { return keyedButtonImage(size, look, false); });
    addPicture(list, stem + QStringLiteral("_down.bmp"),
               [size, look] { return keyedButtonImage(size, look, true); });
  }
}

}  // namespace quilo
