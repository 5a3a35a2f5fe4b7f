// Pictures of the user interface itself: the main window artwork, betting
// tickets, the manual card, lamps, scene icons, the badge and icon, the
// explanation screen and the output window backdrop.

#include "buttons.h"
#include "effects.h"
#include "layout.h"
#include "media.h"
#include "paint.h"
#include "window_art.h"

#include <QFontMetricsF>
#include <QRadialGradient>

namespace quilo {

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// Translucent dark panel with a thin gold rim that controls sit on.
void calmPanel(QPainter& p, const QRectF& r, int alpha = 150) {
  p.save();
  p.setBrush(QColor(6, 4, 22, alpha));
  p.setPen(QPen(QBrush(goldGradient(r.topLeft(), r.bottomRight())), 1.3));
  p.drawRoundedRect(r, 7, 7);
  p.setPen(QPen(QColor(255, 255, 255, 22), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(r.adjusted(3, 3, -3, -3), 5, 5);
  p.restore();
}

void horseshoe(QPainter& p, QPointF c, double r, double thickness) {
  // opening upwards, the lucky way round
  QPainterPath shoe;
  const QRectF outer(c.x() - r, c.y() - r, 2 * r, 2 * r);
  const QRectF inner = outer.adjusted(thickness, thickness, -thickness, -thickness);
  shoe.arcMoveTo(outer, 120);
  shoe.arcTo(outer, 120, 300);
  shoe.arcTo(inner, 60, -300);
  shoe.closeSubpath();
  p.save();
  p.setBrush(goldGradient(outer.topLeft(), outer.bottomRight()));
  p.setPen(QPen(QColor(60, 30, 0), std::max(1.0, r * 0.05)));
  p.drawPath(shoe);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 30, 0));
  for (int i = 0; i < 7; ++i) {
    const double a = (150 + i * 40) * M_PI / 180.0;
    const double rr = r - thickness / 2;
    p.drawEllipse(c + QPointF(std::cos(a) * rr, -std::sin(a) * rr), thickness * 0.13, thickness * 0.13);
  }
  p.restore();
}

void logo(QPainter& p) {
  // emblem: gold horseshoe holding a star
  const QPointF ec(38, 40);
  QRadialGradient halo(ec, 34);
  halo.setColorAt(0, QColor(255, 120, 220, 120));
  halo.setColorAt(1, QColor(255, 120, 220, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(halo);
  p.drawEllipse(ec, 34, 34);
  horseshoe(p, ec + QPointF(0, 2), 24, 9);
  drawSparkle(p, ec + QPointF(0, 2), 8, QColor(255, 240, 200));

  TextLook small;
  small.fill = QBrush(goldGradient({0, 8}, {0, 26}));
  small.outline = QColor(40, 0, 30);
  small.outlineWidth = 3;
  drawText(p, u("競馬予想"), jpFont(fonts::Mincho, 16, true, 2), {72, 9}, small,
           Qt::AlignLeft | Qt::AlignTop);

  QPainterPath quilo = textPath(QStringLiteral("Quilo"), jpFont(fonts::PMincho, 42, true), {72, 30},
                                Qt::AlignLeft | Qt::AlignTop);
  QTransform shear;
  shear.translate(0, 50);
  shear.shear(-0.18, 0);
  shear.translate(0, -50);
  quilo = shear.map(quilo);
  TextLook big;
  big.fill = QBrush(goldGradient({0, 30}, {0, 68}));
  big.outline = QColor(30, 0, 40);
  big.outlineWidth = 3.5;
  big.outline2 = QColor(230, 60, 200);
  big.outline2Width = 7;
  big.glow = QColor(200, 60, 255, 200);
  big.glowRadius = 10;
  drawStyled(p, quilo, big);

  const double right = quilo.boundingRect().right() + 8;
  TextLook pop;
  QLinearGradient pg(0, 40, 0, 66);
  pg.setColorAt(0, QColor(255, 255, 255));
  pg.setColorAt(1, QColor(255, 140, 220));
  pop.fill = pg;
  pop.outline = QColor(60, 0, 60);
  pop.outlineWidth = 3;
  pop.glow = QColor(80, 220, 255, 200);
  pop.glowRadius = 7;
  QFont pf = jpFont(fonts::PGothic, 23, true);
  QPainterPath pp = textPath(u("ピルピルθK"), pf, {right, 64}, Qt::AlignLeft | Qt::AlignBottom);
  const double over = pp.boundingRect().right() - 298;
  if (over > 0) {
    pf = jpFont(fonts::PGothic, 23 * (pp.boundingRect().width() - over) / pp.boundingRect().width(), true);
    pp = textPath(u("ピルピルθK"), pf, {right, 64}, Qt::AlignLeft | Qt::AlignBottom);
  }
  drawStyled(p, pp, pop);
}

QImage windowBackground() {
  QImage img = canvas(900, 550);
  {
    QPainter p;
    beginPainter(p, img);
    QLinearGradient g(0, 0, 900, 550);
    g.setColorAt(0, QColor(10, 10, 44));
    g.setColorAt(0.55, QColor(18, 8, 52));
    g.setColorAt(1, QColor(30, 6, 44));
    p.fillRect(bounds(img), g);
  }
  NebulaLook look{
      Ramp{{0.0f, 0x0a0830}, {0.35f, 0x2a1064}, {0.6f, 0x7a2098}, {0.8f, 0xb03088}, {1.0f, 0x2a70c0}}};
  look.density = 0.9f;
  look.scale = 2.4f;
  look.contrast = 1.5f;
  nebula(img, look, 101);
  // brighter clouds where no controls sit: along the top and in the lower left corner
  NebulaLook glow{Ramp{{0.0f, 0x100830}, {0.4f, 0x6a1890}, {0.7f, 0xe04aa0}, {1.0f, 0x60b0ff}}};
  glow.density = 1.3f;
  glow.contrast = 1.8f;
  nebula(img, glow, 103, QRectF(240, -120, 520, 260));
  nebula(img, glow, 104, QRectF(-140, 420, 300, 220));
  VortexLook galaxy;
  galaxy.ramp = Ramp{{0.0f, 0x000000}, {0.4f, 0x3a1a70}, {0.75f, 0xc070e0}, {1.0f, 0xfff0ff}};
  galaxy.twist = 2.6f;
  galaxy.arms = 2;
  galaxy.brightness = 0.8f;
  vortex(img, QPointF(600, 40), 46, galaxy, 105);
  flash(img, QPointF(600, 40), 14, rgb(0xffc0f0));
  vignette(img, 0.45f);

  QPainter p;
  beginPainter(p, img);
  drawStars(p, bounds(img), 102, 650, 0.85, 9);
  // faint casino spotlights sweeping down from above
  p.setCompositionMode(QPainter::CompositionMode_Plus);
  rays(p, QPointF(470, -60), 640, 7, QColor(120, 90, 200, 26), 106, 5);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);

  // calm areas under the framed groups of controls; the ticket's frame is
  // calm only below the date boxes, which sit on the nebula with their captions
  auto control = [](const char* key) { return QRectF(layout::mainControl(QLatin1String(key))); };
  calmPanel(p, control("Shape1").adjusted(-4, -4, 5, 5));
  calmPanel(p, control("Shape3").adjusted(-4, -4, 5, 5));
  calmPanel(p, control("Shape2").adjusted(-4, -4, 4, 4), 175);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 90));
  const QRectF ticketFrame = control("Shape4");
  p.drawRoundedRect(ticketFrame.adjusted(-4, control("Combo6").bottom() + 4 - ticketFrame.top(), 5, 5), 6, 6);

  // coloured caption bars behind the captions of the left panel
  struct Bar {
    const char* caption;
    QColor colour;
  };
  const Bar bars[] = {{"Label5(7)", QColor(210, 30, 50)},
                      {"Label5(10)", QColor(30, 70, 210)},
                      {"Label5(0)", QColor(10, 140, 60)}};
  for (const Bar& b : bars) {
    const QRectF r = control(b.caption).adjusted(-10, -5, 11, 5);
    QPainterPath shape;
    shape.addRoundedRect(r, r.height() / 2, r.height() / 2);
    QColor gc = b.colour;
    gc.setAlpha(170);
    glowPath(p, shape, gc, 9);
    QLinearGradient fill(r.topLeft(), r.topRight());
    fill.setColorAt(0, b.colour.darker(260));
    fill.setColorAt(0.25, b.colour.darker(150));
    fill.setColorAt(0.75, b.colour.darker(150));
    fill.setColorAt(1, b.colour.darker(260));
    p.setBrush(fill);
    p.setPen(QPen(b.colour.lighter(150), 1));
    p.drawPath(shape);
    QLinearGradient shine(r.topLeft(), r.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 60));
    shine.setColorAt(0.5, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawRoundedRect(r.adjusted(4, 1, -4, -r.height() / 2), 4, 4);
  }

  // marquee bulbs along the top edge and the bottom edge that the window shows
  const QRectF visible = mainVisible();
  for (int i = 0; i < 2; ++i) {
    const double y = i == 0 ? 11 : visible.bottom() - 9;
    for (double x = i == 0 ? 320 : 330; x < 880; x += 20) {
      if (i == 1 && x > 680) break;
      QRadialGradient bulb(QPointF(x, y), 5);
      bulb.setColorAt(0, QColor(255, 250, 220));
      bulb.setColorAt(0.4, QColor(255, 200, 80, 220));
      bulb.setColorAt(1, QColor(255, 160, 40, 0));
      p.setBrush(bulb);
      p.drawEllipse(QPointF(x, y), 5, 5);
    }
  }

  goldFrame(p, visible.adjusted(3, 3, -3, -3), 2.4);
  ticketBed(p);
  logo(p);

  // captions next to the date boxes
  TextLook date;
  date.fill = QBrush(goldGradient({0, 74}, {0, 92}));
  date.outline = QColor(0, 0, 20);
  date.outlineWidth = 3;
  const QFont df = jpFont(fonts::Gothic, 17, true);
  const char* const dateBoxes[][2] = {{"Combo6", "年"}, {"Combo3", "月"}, {"Combo4", "日"}};
  for (const auto& box : dateBoxes) {
    const QRectF r = control(box[0]);
    drawText(p, u(box[1]), df, {r.right() + 4, r.top() + 3}, date, Qt::AlignLeft | Qt::AlignTop);
  }
  return img;
}

// The betting ticket is a background: the main window prints the date, the
// racecourse, the race number, the bet cells and amounts, the shop name and
// the code numbers over it as labels. Those places stay plain paper; the
// printed words of the ticket live in the gaps between them:
//   x   8..140, y   8..78   date / racecourse / race number (labels)
//   x   8..140, y  80..148  title block (type of bet, 勝馬投票券, フォーメーション)
//   x 150..333, y  14..138  four bet rows (labels), headings just above them
//   x 146..333, y 139..149  barcode and serial number
//   x   6..335, y 150..180  the stub: shop, date, total and code numbers (labels)
// The stub's lowest labels reach below the picture; the main window's
// backgrounds continue the stub's paper under them, so the stub is the same
// plain paper on both tickets and has no edge line at the bottom.
QImage ticket(bool trifecta) {
  const QSize size = layout::ticketPicture().size();
  const int W = size.width(), H = size.height();
  const QColor paper = trifecta ? QColor(238, 246, 226) : QColor(247, 244, 224);
  const QColor ink = kTicketInk;
  const QColor accent = trifecta ? QColor(196, 26, 60) : QColor(28, 78, 170);
  QColor tint = ink;
  tint.setAlpha(26);
  // the stub starts just above the first label of the bottom strip
  double stubTop = H;
  QRectF total;
  for (const layout::Place& l : layout::ticketLabels()) {
    if (l.rect.top() > H * 3 / 4) stubTop = std::min(stubTop, l.rect.top() - 2.0);
    if (l.key == QLatin1String("Label14")) total = l.rect;
  }
  QImage img = canvas(W, H, paper);
  QPainter p;
  beginPainter(p, img);

  // security print: a fine grid above the stub
  p.setPen(QPen(paper.darker(105), 0.6));
  for (int x = 0; x < W; x += 4) p.drawLine(QPointF(x + 0.5, 0), QPointF(x + 0.5, stubTop));
  for (int y = 0; y < stubTop; y += 4) p.drawLine(QPointF(0, y + 0.5), QPointF(W, y + 0.5));

  // the stub: plain paper behind a perforation, the total on a tinted band of
  // its own so that it reads apart from the code numbers right under it
  p.fillRect(QRectF(0, stubTop, W, H - stubTop), kStubPaper);
  QPen perforation(QColor(160, 190, 170), 1.0);
  perforation.setDashPattern({2, 2});
  p.setPen(perforation);
  p.drawLine(QPointF(0, stubTop - 0.5), QPointF(W, stubTop - 0.5));
  if (total.isValid()) {
    QColor band = accent;
    band.setAlpha(34);
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawRoundedRect(
        QRectF(total.left() - 4, total.top() - 1, W - 2 - (total.left() - 4), total.height() + 1), 2, 2);
    p.setBrush(Qt::NoBrush);
  }

  // guilloche waves, only inside the title block
  const QRectF titleBox(8.5, 80.5, 131, 67);
  p.save();
  p.setClipRect(titleBox);
  p.fillRect(titleBox, trifecta ? QColor(226, 240, 212) : QColor(240, 234, 206));
  QColor wave = accent;
  wave.setAlpha(30);
  p.setPen(QPen(wave, 0.7));
  for (int k = 0; k < 10; ++k) {
    QPainterPath path;
    for (int x = 8; x <= 140; x += 2) {
      const double y = 114 + 30 * std::sin(x * 0.07 + k * 0.63) * std::cos(x * 0.023 - k * 0.4);
      if (x == 8)
        path.moveTo(x, y);
      else
        path.lineTo(x, y);
    }
    p.drawPath(path);
  }
  p.restore();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(ink, 0.9));
  p.drawRoundedRect(titleBox, 3, 3);

  // outer edge: one pixel along the paper's top and sides, open at the
  // bottom where the stub runs on below the picture
  QPainterPath edge;
  edge.moveTo(0.5, H);
  edge.lineTo(0.5, 5.5);
  edge.quadTo(0.5, 0.5, 5.5, 0.5);
  edge.lineTo(W - 5.5, 0.5);
  edge.quadTo(W - 0.5, 0.5, W - 0.5, 5.5);
  edge.lineTo(W - 0.5, H);
  p.setPen(QPen(ink, 1.0));
  p.drawPath(edge);

  TextLook inkLook;
  inkLook.fill = ink;
  TextLook accentLook;
  accentLook.fill = accent;

  // title block: type of bet, seal, 勝馬投票券, the formation band
  drawText(p, trifecta ? u("３連単") : u("馬単"), jpFont(fonts::Gothic, 25, true), {14, 83}, accentLook,
           Qt::AlignLeft | Qt::AlignTop);
  const QPointF seal(122, 96);
  p.setPen(QPen(QColor(210, 40, 40, 200), 1.4));
  p.drawEllipse(seal, 12, 12);
  TextLook sealInk;
  sealInk.fill = QColor(210, 40, 40, 210);
  drawText(p, u("予想"), jpFont(fonts::Mincho, 10, true), seal, sealInk);
  drawText(p, u("勝馬投票券"), jpFont(fonts::Mincho, 13, true, 1), {14, 111}, inkLook,
           Qt::AlignLeft | Qt::AlignTop);
  const QRectF band(13, 128, 123, 16);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawRoundedRect(band, 3, 3);
  TextLook white;
  white.fill = QColor(255, 255, 255);
  drawText(p, u("フォーメーション"), jpFont(fonts::Gothic, 12, true), band.center(), white);

  // a small racecourse mark in the gap right of the date and race number
  drawText(p, u("Ｑ"), jpFont(fonts::Gothic, 14, true), {126, 30}, accentLook);
  drawText(p, u("競馬"), jpFont(fonts::Gothic, 9, true), {126, 48}, inkLook);
  p.setPen(QPen(ink, 0.7));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(115.5, 19.5, 21, 36), 3, 3);

  // bet rows: headings above, row marks at the left, separators between
  const QFont tiny = jpFont(fonts::Gothic, 9, true);
  const double cells[] = {152, trifecta ? 184.0 : 200.0, 216};
  const int cellCount = trifecta ? 3 : 2;
  const char* heads[] = {"1着", "2着", "3着"};
  p.setPen(Qt::NoPen);
  p.setBrush(tint);
  p.drawRoundedRect(QRectF(146, 3, 186, 10), 2, 2);
  for (int c = 0; c < cellCount; ++c) drawText(p, u(heads[c]), tiny, {cells[c] + 12.5, 8.5}, inkLook);
  drawText(p, u("金額"), tiny, {297, 8.5}, inkLook);
  for (int r = 0; r < 4; ++r) {
    const double y = 16 + r * 32;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawRoundedRect(QRectF(151, y - 1, 181, 26), 3, 3);
    QPainterPath mark;
    mark.moveTo(146.5, y + 8);
    mark.lineTo(149.5, y + 12);
    mark.lineTo(146.5, y + 16);
    mark.lineTo(143.5, y + 12);
    mark.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawPath(mark);
    if (r < 3) {
      p.setPen(QPen(ink, 0.6, Qt::DashLine));
      p.drawLine(QPointF(146, y + 28.5), QPointF(332, y + 28.5));
    }
  }

  // barcode and serial number in the strip under the last row
  Rng rng(trifecta ? 3 : 2);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 30, 30));
  double x = 148;
  while (x < 226) {
    const double w = 0.8 + rng.below(3) * 0.8;
    p.drawRect(QRectF(x, 140.5, w, 8));
    x += w + 0.8 + rng.below(3) * 0.8;
  }
  drawText(p, trifecta ? u("No. 0712-3348-9051") : u("No. 0712-2207-1164"), jpFont(fonts::Gothic, 9),
           {331, 144.5}, inkLook, Qt::AlignRight | Qt::AlignVCenter);
  return img;
}

QImage manualCard() {
  const int W = 335, H = 180;
  QImage img = canvas(W, H, QColor(250, 246, 232));
  QPainter p;
  beginPainter(p, img);
  QLinearGradient paper(0, 0, 0, H);
  paper.setColorAt(0, QColor(255, 252, 240));
  paper.setColorAt(1, QColor(238, 230, 206));
  p.fillRect(bounds(img), paper);
  // header band
  QLinearGradient band(0, 0, 0, 34);
  band.setColorAt(0, QColor(40, 30, 110));
  band.setColorAt(1, QColor(14, 10, 50));
  p.fillRect(QRectF(0, 0, W, 34), band);
  p.fillRect(QRectF(0, 34, W, 2), goldGradient({0, 0}, {W, 0}));
  TextLook title;
  title.fill = QBrush(goldGradient({0, 6}, {0, 28}));
  title.outline = QColor(0, 0, 0);
  title.outlineWidth = 2.5;
  drawText(p, u("使用方法"), jpFont(fonts::Mincho, 20, true, 4), {W / 2.0, 17}, title);
  drawSparkle(p, {80, 17}, 4, QColor(255, 230, 160));
  drawSparkle(p, {255, 17}, 4, QColor(255, 230, 160));

  // The steps in the order the window asks for them, by the window's own
  // markers (① the race box, ② the left panel, ③ the buttons), down to 成績.
  const char* steps[] = {"① 日付・レースと1・2番人気のオッズを入力",
                         "② 左の枠で人気順の馬番を選ぶ",
                         "③ 右の予想ボタンを押す",
                         "④ 買い目が馬券に表示されます",
                         "⑤ 「出力」で保存・印刷",
                         "⑥ 「成績」に結果を入れると的中率・回収率"};
  TextLook ink;
  ink.fill = QColor(30, 26, 60);
  const QFont f = jpFont(fonts::Gothic, 11.5);
  for (int i = 0; i < 6; ++i) {
    const double y = 38 + i * 18;
    p.setPen(QPen(QColor(180, 160, 120, 120), 0.8, Qt::DotLine));
    p.drawLine(QPointF(18, y + 17), QPointF(W - 18, y + 17));
    drawText(p, QString::fromUtf8(steps[i]), f, {22, y + 9}, ink, Qt::AlignLeft | Qt::AlignVCenter);
  }
  // The ticket's sales-office caption stays over the card: a stamp of its own
  // holds it, so that it reads as part of the card, not as the ticket below.
  p.setPen(QPen(QColor(160, 40, 50), 1.2));
  p.setBrush(QColor(255, 250, 236));
  p.drawRoundedRect(QRectF(5, 150, 74, 21), 3, 3);
  TextLook stamp;
  stamp.fill = QColor(160, 40, 50);
  drawText(p, u("発売所"), jpFont(fonts::Gothic, 8), {84, 160.5}, stamp, Qt::AlignLeft | Qt::AlignVCenter);
  TextLook note;
  note.fill = QColor(120, 90, 60);
  drawText(p, u("※予想は娯楽としてお楽しみください"), jpFont(fonts::Gothic, 10), {W - 14.0, H - 8.0}, note,
           Qt::AlignRight | Qt::AlignBottom);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QBrush(goldGradient({0, 0}, {W, H})), 2));
  p.drawRect(QRectF(1, 1, W - 2, H - 2));
  return img;
}

enum class Lamp { Off, Lit, Cherry, Seven };

QImage lamp(Lamp kind) {
  const int W = 110, H = 90;
  QImage img = canvas(W, H, QColor(20, 20, 28));
  QPainter p;
  beginPainter(p, img);
  QLinearGradient casing(0, 0, 0, H);
  casing.setColorAt(0, QColor(96, 96, 116));
  casing.setColorAt(0.5, QColor(34, 34, 46));
  casing.setColorAt(1, QColor(70, 70, 90));
  p.fillRect(bounds(img), casing);
  p.setPen(QPen(QColor(0, 0, 0), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, W - 1, H - 1));
  for (QPointF s :
       {QPointF(4.5, 4.5), QPointF(W - 4.5, 4.5), QPointF(4.5, H - 4.5), QPointF(W - 4.5, H - 4.5)}) {
    QRadialGradient screw(s - QPointF(0.7, 0.7), 2.5);
    screw.setColorAt(0, QColor(230, 230, 240));
    screw.setColorAt(1, QColor(60, 60, 70));
    p.setBrush(screw);
    p.setPen(Qt::NoPen);
    p.drawEllipse(s, 2.2, 2.2);
  }
  const QRectF lens(8, 8, W - 16, H - 16);
  QPainterPath lensPath;
  lensPath.addRoundedRect(lens, 13, 13);
  const QPointF c = lens.center();

  QRadialGradient glass(c, lens.width() * 0.62);
  switch (kind) {
    case Lamp::Off:
      glass.setColorAt(0, QColor(70, 16, 34));
      glass.setColorAt(1, QColor(16, 2, 8));
      break;
    case Lamp::Lit:
      glass.setColorAt(0, QColor(255, 250, 220));
      glass.setColorAt(0.35, QColor(255, 110, 180));
      glass.setColorAt(1, QColor(150, 0, 60));
      break;
    case Lamp::Cherry:
      glass.setColorAt(0, QColor(255, 255, 240));
      glass.setColorAt(0.45, QColor(255, 214, 80));
      glass.setColorAt(1, QColor(220, 100, 10));
      break;
    case Lamp::Seven:
      glass.setColorAt(0, QColor(255, 255, 255));
      glass.setColorAt(0.4, QColor(160, 220, 255));
      glass.setColorAt(1, QColor(20, 70, 190));
      break;
  }
  p.setBrush(glass);
  p.setPen(QPen(QColor(0, 0, 0), 2));
  p.drawPath(lensPath);
  p.save();
  p.setClipPath(lensPath);
  if (kind != Lamp::Off) {
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    rays(p, c, 70, 18, QColor(255, 255, 255, 70), 5 + int(kind), 5);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  switch (kind) {
    case Lamp::Off: {
      TextLook dim;
      dim.fill = QColor(96, 44, 60);
      dim.shadow = QColor(0, 0, 0, 180);
      dim.shadowOffset = {1, 1};
      drawText(p, QStringLiteral("PIRUPIRU"), jpFont(fonts::Gothic, 17, true), c, dim);
      break;
    }
    case Lamp::Lit: {
      TextLook hot;
      hot.fill = QColor(255, 255, 255);
      hot.outline = QColor(200, 0, 90);
      hot.outlineWidth = 3;
      hot.glow = QColor(255, 255, 160, 255);
      hot.glowRadius = 6;
      drawText(p, QStringLiteral("PIRUPIRU"), jpFont(fonts::Gothic, 17, true), c, hot);
      drawSparkle(p, c + QPointF(-34, -20), 4, QColor(255, 255, 230));
      drawSparkle(p, c + QPointF(36, 18), 3.5, QColor(255, 255, 230));
      break;
    }
    case Lamp::Cherry: {
      // stems first, then the fruit
      const QPointF top(c.x() + 6, c.y() - 28), a(c.x() - 16, c.y() + 10), b(c.x() + 16, c.y() + 14);
      p.setPen(QPen(QColor(40, 110, 20), 3, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      QPainterPath s1(top), s2(top);
      s1.quadTo(c.x() - 14, c.y() - 18, a.x() + 2, a.y() - 10);
      s2.quadTo(c.x() + 16, c.y() - 12, b.x(), b.y() - 10);
      p.drawPath(s1);
      p.drawPath(s2);
      QPainterPath leaf(top);
      leaf.quadTo(top.x() + 14, top.y() - 12, top.x() + 26, top.y() - 2);
      leaf.quadTo(top.x() + 12, top.y() + 6, top.x(), top.y());
      p.setBrush(QColor(70, 170, 40));
      p.setPen(QPen(QColor(20, 80, 10), 1));
      p.drawPath(leaf);
      for (QPointF f : {a, b}) {
        QRadialGradient berry(f - QPointF(4, 4), 16);
        berry.setColorAt(0, QColor(255, 200, 200));
        berry.setColorAt(0.3, QColor(240, 30, 40));
        berry.setColorAt(1, QColor(110, 0, 10));
        p.setBrush(berry);
        p.setPen(QPen(QColor(60, 0, 0), 1.5));
        p.drawEllipse(f, 13, 13);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 210));
        p.drawEllipse(f + QPointF(-5, -5), 3, 2.2);
      }
      break;
    }
    case Lamp::Seven: {
      TextLook seven;
      QLinearGradient red(0, c.y() - 30, 0, c.y() + 30);
      red.setColorAt(0, QColor(255, 120, 110));
      red.setColorAt(0.5, QColor(230, 0, 20));
      red.setColorAt(1, QColor(120, 0, 10));
      seven.fill = red;
      seven.outline = QColor(255, 220, 120);
      seven.outlineWidth = 3;
      seven.outline2 = QColor(60, 0, 0);
      seven.outline2Width = 7;
      seven.glow = QColor(255, 255, 200, 220);
      seven.glowRadius = 7;
      drawText(p, QStringLiteral("7"), jpFont(fonts::Gothic, 72, true), c, seven);
      break;
    }
  }
  // glass reflection
  QLinearGradient refl(lens.topLeft(), QPointF(lens.left(), lens.top() + lens.height() * 0.45));
  refl.setColorAt(0, QColor(255, 255, 255, kind == Lamp::Off ? 50 : 120));
  refl.setColorAt(1, QColor(255, 255, 255, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(refl);
  p.drawRoundedRect(lens.adjusted(5, 3, -5, -lens.height() * 0.5), 10, 10);
  p.restore();
  return img;
}

QImage placePanel() {
  const int W = 110, H = 90;
  QImage img = canvas(W, H, QColor(30, 100, 40));
  QPainter p;
  beginPainter(p, img);
  // mown turf stripes in perspective
  for (int i = -6; i < 12; ++i) {
    QPainterPath stripe;
    const double x0 = i * 18.0, x1 = x0 + 9;
    stripe.moveTo(55 + (x0 - 55) * 0.4, 0);
    stripe.lineTo(55 + (x1 - 55) * 0.4, 0);
    stripe.lineTo(55 + (x1 - 55) * 1.8, H);
    stripe.lineTo(55 + (x0 - 55) * 1.8, H);
    stripe.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 150, 60, 90));
    p.drawPath(stripe);
  }
  QLinearGradient depth(0, 0, 0, H);
  depth.setColorAt(0, QColor(0, 20, 0, 120));
  depth.setColorAt(1, QColor(0, 0, 0, 0));
  p.fillRect(bounds(img), depth);
  // white rail
  p.setPen(QPen(QColor(250, 250, 250), 3));
  p.drawLine(QPointF(0, 70), QPointF(W, 62));
  p.setPen(QPen(QColor(230, 230, 230), 2));
  for (int x = 6; x < W; x += 18) p.drawLine(QPointF(x, 70 - x * 8.0 / W), QPointF(x, 86 - x * 8.0 / W));
  // name plate
  const QRectF plate(17, 16, 76, 40);
  p.setBrush(QColor(252, 248, 230, 235));
  p.setPen(QPen(QBrush(goldGradient(plate.topLeft(), plate.bottomRight())), 2));
  p.drawRoundedRect(plate, 6, 6);
  TextLook t;
  t.fill = QColor(20, 90, 40);
  drawText(p, QString::fromUtf8("複勝"), jpFont(fonts::Mincho, 24, true), plate.center() - QPointF(0, 3), t);
  TextLook s;
  s.fill = QColor(160, 120, 40);
  drawText(p, QStringLiteral("PLACE"), jpFont(fonts::Gothic, 8, true, 2),
           {plate.center().x(), plate.bottom() - 6}, s);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(10, 40, 10), 2));
  p.drawRect(QRectF(1, 1, W - 2, H - 2));
  return img;
}

QImage badge() {
  QImage img = canvas(88, 31, QColor(12, 10, 40));
  QPainter p;
  beginPainter(p, img);
  QLinearGradient g(0, 0, 0, 31);
  g.setColorAt(0, QColor(50, 40, 120));
  g.setColorAt(0.5, QColor(16, 10, 50));
  g.setColorAt(1, QColor(40, 12, 70));
  p.fillRect(bounds(img), g);
  drawStars(p, QRectF(0, 0, 88, 31), 88, 30, 0.9, 0);
  TextLook gold;
  gold.fill = QBrush(goldGradient({0, 6}, {0, 24}));
  gold.outline = QColor(0, 0, 0);
  gold.outlineWidth = 2;
  drawText(p, QStringLiteral("Quilo"), jpFont(fonts::PMincho, 17, true), {27, 15.5}, gold);
  const QRectF box(54, 5, 30, 21);
  QLinearGradient pink(box.topLeft(), box.bottomLeft());
  pink.setColorAt(0, QColor(255, 140, 210));
  pink.setColorAt(1, QColor(170, 20, 110));
  p.setBrush(pink);
  p.setPen(QPen(QColor(255, 230, 250), 1));
  p.drawRoundedRect(box, 4, 4);
  TextLook white;
  white.fill = QColor(255, 255, 255);
  white.outline = QColor(90, 0, 50);
  white.outlineWidth = 2;
  drawText(p, QString::fromUtf8("θK"), jpFont(fonts::Gothic, 14, true), box.center(), white);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QBrush(goldGradient({0, 0}, {88, 31})), 1));
  p.drawRect(QRectF(0.5, 0.5, 87, 30));
  return img;
}

QImage appIcon() {
  const int S = 256;
  QImage space = canvas(S, S, QColor(12, 8, 40));
  NebulaLook look{Ramp{{0.0f, 0x12083a}, {0.4f, 0x50189a}, {0.7f, 0xd040b0}, {1.0f, 0x60c0ff}}};
  look.density = 1.1f;
  look.scale = 1.6f;
  nebula(space, look, 256);
  {
    QPainter p;
    beginPainter(p, space);
    drawStars(p, bounds(space), 257, 120, 1.0, 3);
  }
  QImage img = layer(S, S);
  QPainter p;
  beginPainter(p, img);
  QPainterPath tile;
  tile.addRoundedRect(QRectF(8, 8, S - 16, S - 16), 46, 46);
  p.setClipPath(tile);
  p.drawImage(0, 0, space);
  p.setClipping(false);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QBrush(goldGradient({0, 8}, {0, S - 8})), 7));
  p.drawPath(tile);
  p.setPen(QPen(QColor(60, 20, 0), 1.5));
  p.drawRoundedRect(QRectF(12.5, 12.5, S - 25, S - 25), 42, 42);

  horseshoe(p, QPointF(128, 146), 84, 24);
  TextLook q;
  QLinearGradient pink(0, 60, 0, 200);
  pink.setColorAt(0, QColor(255, 255, 255));
  pink.setColorAt(0.5, QColor(255, 120, 210));
  pink.setColorAt(1, QColor(170, 20, 140));
  q.fill = pink;
  q.outline = QColor(40, 0, 50);
  q.outlineWidth = 7;
  q.outline2 = QColor(255, 230, 140);
  q.outline2Width = 13;
  q.glow = QColor(220, 90, 255, 230);
  q.glowRadius = 16;
  drawText(p, QStringLiteral("Q"), jpFont(fonts::PMincho, 150, true), {128, 122}, q);
  const QRectF plate(86, 190, 84, 40);
  p.setBrush(QColor(30, 8, 50, 230));
  p.setPen(QPen(QBrush(goldGradient(plate.topLeft(), plate.bottomLeft())), 3));
  p.drawRoundedRect(plate, 14, 14);
  TextLook tk;
  tk.fill = QBrush(goldGradient({0, 190}, {0, 226}));
  tk.outline = QColor(30, 0, 30);
  tk.outlineWidth = 5;
  drawText(p, QString::fromUtf8("θK"), jpFont(fonts::Gothic, 30, true), plate.center(), tk);
  drawSparkle(p, {182, 70}, 12, QColor(255, 250, 220));
  return img;
}

QImage explanation() {
  const int W = 680, H = 450;
  QImage img = canvas(W, H, QColor(8, 8, 30));
  NebulaLook look{Ramp{{0.0f, 0x080830}, {0.5f, 0x281060}, {1.0f, 0x3060a0}}};
  look.density = 0.45f;
  nebula(img, look, 680);
  QPainter p;
  beginPainter(p, img);
  drawStars(p, bounds(img), 681, 300, 0.7, 4);
  goldFrame(p, QRectF(4, 4, W - 8, H - 8), 2);

  TextLook title;
  title.fill = QBrush(goldGradient({0, 18}, {0, 52}));
  title.outline = QColor(30, 0, 20);
  title.outlineWidth = 3.5;
  title.glow = QColor(120, 180, 255, 170);
  title.glowRadius = 9;
  drawText(p, QString::fromUtf8("翠甲星帝スクリーン背景変化"), jpFont(fonts::Mincho, 30, true, 2),
           {W / 2.0, 38}, title);
  p.setPen(QPen(QBrush(goldGradient({120, 0}, {560, 0})), 1.2));
  p.drawLine(QPointF(110, 64), QPointF(570, 64));

  // the three prediction buttons
  const ButtonLook looks[] = {
      {QString::fromUtf8("３連単"), QStringLiteral("TRIFECTA"), QColor(220, 16, 110), ButtonLook::Flashy},
      {QString::fromUtf8("鬼爆馬単"),
       {},
       QColor(200, 24, 8),
       ButtonLook::Oni,
       QColor(255, 250, 200),
       QColor(255, 170, 40)},
      {QString::fromUtf8("魔界3連単"),
       {},
       QColor(110, 30, 180),
       ButtonLook::Makai,
       QColor(230, 255, 230),
       QColor(110, 255, 130)},
  };
  TextLook label;
  label.fill = QColor(230, 230, 255);
  label.outline = QColor(0, 0, 0);
  label.outlineWidth = 2.5;
  drawText(p, QString::fromUtf8("予想ボタン"), jpFont(fonts::Gothic, 13, true), {60, 98}, label);
  for (int i = 0; i < 3; ++i)
    p.drawImage(QPointF(110 + i * 176, 78), buttonImage(QSize(164, 42), looks[i], false));

  // the five screens, from the most to the least promising
  const Scene scenes[] = {Scene::Explosion, Scene::Flash, Scene::BlackHole, Scene::Nebula, Scene::Earth};
  const char* names[] = {"爆発", "閃光", "ブラックホール", "星雲", "地球(通常)"};
  const QFont cf = jpFont(fonts::Gothic, 14, true);
  for (int i = 0; i < 5; ++i) {
    const QRectF frame(42 + i * 124, 142, 106, 106);
    p.drawImage(frame.adjusted(3, 3, -3, -3), sceneImage(scenes[i], 100));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(goldGradient(frame.topLeft(), frame.bottomRight())), 2.5));
    p.drawRoundedRect(frame, 4, 4);
    drawText(p, QString::fromUtf8(names[i]), cf, {frame.center().x(), frame.bottom() + 17}, label);
  }

  // expectation bar: an arrow from hot to cold
  const QRectF bar(70, 318, 540, 26);
  QPainterPath arrow;
  arrow.moveTo(bar.left() - 26, bar.center().y());
  arrow.lineTo(bar.left(), bar.top() - 8);
  arrow.lineTo(bar.left(), bar.top());
  arrow.lineTo(bar.right(), bar.top());
  arrow.lineTo(bar.right(), bar.bottom());
  arrow.lineTo(bar.left(), bar.bottom());
  arrow.lineTo(bar.left(), bar.bottom() + 8);
  arrow.closeSubpath();
  QLinearGradient heat(bar.left() - 26, 0, bar.right(), 0);
  heat.setColorAt(0, QColor(255, 250, 180));
  heat.setColorAt(0.12, QColor(255, 60, 20));
  heat.setColorAt(0.4, QColor(230, 40, 200));
  heat.setColorAt(0.7, QColor(70, 80, 230));
  heat.setColorAt(1, QColor(20, 90, 160));
  glowPath(p, arrow, QColor(255, 120, 160, 120), 8);
  p.setBrush(heat);
  p.setPen(QPen(QColor(255, 240, 200), 1.5));
  p.drawPath(arrow);
  TextLook barText;
  barText.fill = QColor(255, 255, 255);
  barText.outline = QColor(40, 0, 30);
  barText.outlineWidth = 3;
  drawText(p, QString::fromUtf8("的中期待度"), jpFont(fonts::Gothic, 16, true, 3), bar.center(), barText);
  drawText(p, QString::fromUtf8("高い"), jpFont(fonts::Gothic, 15, true), {bar.left() + 8, bar.center().y()},
           barText, Qt::AlignLeft | Qt::AlignVCenter);
  drawText(p, QString::fromUtf8("低い"), jpFont(fonts::Gothic, 15, true), {bar.right() - 8, bar.center().y()},
           barText, Qt::AlignRight | Qt::AlignVCenter);

  TextLook note;
  note.fill = QColor(210, 215, 240);
  const QFont nf = jpFont(fonts::Gothic, 13);
  drawText(p, QString::fromUtf8("予想ボタンを押すと、的中の期待度に応じて"), nf, {40, 384}, note,
           Qt::AlignLeft | Qt::AlignTop);
  drawText(p, QString::fromUtf8("スクリーンの背景が左のものほど激しく変化します。"), nf, {40, 404}, note,
           Qt::AlignLeft | Qt::AlignTop);
  return img;
}

QImage outputBackdrop() {
  const int W = 480, H = 640;
  const int horizon = 318;
  QImage img = canvas(W, H);
  // sky: dusk from violet to amber
  const Ramp sky{{0.0f, 0x141a48}, {0.35f, 0x3a2a6a}, {0.65f, 0xb0506a}, {0.85f, 0xf09050}, {1.0f, 0xffd090}};
  const QPointF sun(318, horizon - 24);
  shade(img, [&](float x, float y, Rgbf& c) {
    if (y > horizon) return;
    c = sky.at(float(y) / horizon);
    const float dx = (x - float(sun.x())) / 120.0f, dy = (y - float(sun.y())) / 120.0f;
    const float d = std::sqrt(dx * dx + dy * dy);
    c = screen(c, rgb(0xffb060) * (0.75f * std::exp(-d * 2.2f)));
    // clouds lit from below
    const float n = fbm(x / 140.0f, y / 34.0f, 480, 5);
    const float cloud = smoothstep(0.52f, 0.72f, n) * smoothstep(20.0f, 120.0f, float(y)) *
                        (1.0f - smoothstep(horizon - 70.0f, float(horizon), float(y)));
    const float under = clamp01(float(y) / horizon);
    c = mix(c, mix(rgb(0x2a2050), rgb(0xffa070), under * 0.9f), cloud * 0.75f);
  });
  {
    QPainter p;
    beginPainter(p, img);
    QRadialGradient disc(sun, 16);
    disc.setColorAt(0, QColor(255, 250, 230));
    disc.setColorAt(0.8, QColor(255, 220, 150));
    disc.setColorAt(1, QColor(255, 200, 120, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(sun, 16, 16);

    // distant trees
    Rng rng(481);
    QPainterPath trees;
    trees.moveTo(0, horizon + 4);
    for (int x = 0; x <= W; x += 6) trees.lineTo(x, horizon - 6 - rng.range(0, 9));
    trees.lineTo(W, horizon + 4);
    trees.closeSubpath();
    p.setBrush(QColor(40, 34, 60));
    p.drawPath(trees);

    // grandstand silhouette with a cantilever roof and lit windows
    QPainterPath stand;
    stand.moveTo(20, horizon + 6);
    stand.lineTo(20, horizon - 40);
    stand.lineTo(6, horizon - 52);
    stand.lineTo(250, horizon - 66);
    stand.lineTo(236, horizon - 54);
    stand.lineTo(236, horizon + 6);
    stand.closeSubpath();
    p.setBrush(QColor(26, 22, 44));
    p.drawPath(stand);
    p.setBrush(QColor(16, 12, 30));
    p.drawRect(QRectF(120, horizon - 96, 40, 46));
    p.drawRect(QRectF(135, horizon - 110, 10, 16));
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 20; ++col) {
        if (rng.chance(0.35)) continue;
        p.setBrush(QColor(255, 214, 140, int(rng.range(120, 230))));
        p.drawRect(QRectF(28 + col * 10.2, horizon - 42 + row * 12, 5, 3));
      }
    // floodlight glows
    for (double x : {40.0, 210.0}) {
      QRadialGradient g(QPointF(x, horizon - 74), 14);
      g.setColorAt(0, QColor(255, 255, 230, 230));
      g.setColorAt(1, QColor(255, 230, 160, 0));
      p.setBrush(g);
      p.drawEllipse(QPointF(x, horizon - 74), 14, 14);
    }
  }
  // turf in perspective with mown stripes
  const float vx = 240.0f;
  shade(img, [&](float x, float y, Rgbf& c) {
    if (y <= horizon) return;
    const float depth = float(y - horizon) / (H - horizon);  // 0 far .. 1 near
    const float worldX = (x - vx) / (depth + 0.04f);
    const float worldY = 1.0f / (depth + 0.04f);
    // check-mown pattern: bands across and along the field
    const int band = int(std::floor(worldX / 260.0f + 1000.0f)) + int(std::floor(worldY * 1.6f));
    const float stripe = (band & 1) ? 1.0f : 0.35f;
    const float n = fbm(x / 30.0f, y / 8.0f, 640, 4);
    Rgbf turf = mix(rgb(0x1f4a24), rgb(0x2d6a30), stripe * 0.7f + n * 0.3f);
    // dirt track in the middle distance
    if (worldY > 6.0f && worldY < 10.5f) turf = mix(rgb(0x7a5236), rgb(0x5a3a26), n);
    // warm light from the setting sun on the far field
    turf = mix(turf, rgb(0xd08a50), 0.4f * (1.0f - smoothstep(0.0f, 0.5f, depth)));
    c = turf * (0.95f - 0.35f * depth);
  });
  {
    QPainter p;
    beginPainter(p, img);
    // white inner rail sweeping towards the horizon
    QPainterPath rail;
    rail.moveTo(-10, 520);
    rail.cubicTo(150, 430, 330, 360, 480, horizon + 14);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(250, 248, 240), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(rail);
    p.setPen(QPen(QColor(120, 110, 100, 160), 2));
    p.drawPath(rail.translated(0, 4));
    for (int i = 0; i <= 24; ++i) {
      const double t = i / 24.0;
      const QPointF top = rail.pointAtPercent(t);
      const double len = 26 * (1.0 - t) + 4;
      p.setPen(QPen(QColor(236, 236, 230), std::max(1.0, 3.5 * (1 - t))));
      p.drawLine(top, top + QPointF(0, len));
    }
    // low light haze over the field
    QLinearGradient haze(0, horizon - 20, 0, horizon + 70);
    haze.setColorAt(0, QColor(255, 190, 140, 0));
    haze.setColorAt(0.4, QColor(255, 190, 140, 60));
    haze.setColorAt(1, QColor(255, 190, 140, 0));
    p.fillRect(QRectF(0, horizon - 20, W, 90), haze);
  }
  vignette(img, 0.55f, 0.8f);
  // fine film grain for a photographic feel
  Rng grain(482);
  shade(img, [&](float, float, Rgbf& c) {
    const float g = float(grain.uniform() - 0.5) * 0.035f;
    c = c + Rgbf{g, g, g};
  });
  return img;
}

}  // namespace

void addInterfacePictures(MediaList& list) {
  addPicture(list, QStringLiteral("GF/kihonfuremu.bmp"), windowBackground);
  addPicture(list, QStringLiteral("GF/3renbaken.bmp"), [] { return ticket(true); });
  addPicture(list, QStringLiteral("GF/umatanbaken.bmp"), [] { return ticket(false); });
  addPicture(list, QStringLiteral("GF/usermane.bmp"), manualCard);
  addPicture(list, QStringLiteral("GF/PIRUPIRUoff.bmp"), [] { return lamp(Lamp::Off); });
  addPicture(list, QStringLiteral("GF/PIRUPIRU.bmp"), [] { return lamp(Lamp::Lit); });
  addPicture(list, QStringLiteral("GF/cherrey.bmp"), [] { return lamp(Lamp::Cherry); });
  addPicture(list, QStringLiteral("GF/7seven.bmp"), [] { return lamp(Lamp::Seven); });
  addPicture(list, QString::fromUtf8("GF/背景パネル.bmp"), placePanel);
  addPicture(list, QStringLiteral("GF/zelkiachikiyou.bmp"), [] { return sceneImage(Scene::Earth, 89); });
  addPicture(list, QStringLiteral("GF/zelkiaseiun.bmp"), [] { return sceneImage(Scene::Nebula, 89); });
  addPicture(list, QStringLiteral("GF/zelkiablackhool.bmp"), [] { return sceneImage(Scene::BlackHole, 89); });
  addPicture(list, QStringLiteral("GF/zelkiasenkou.bmp"), [] { return sceneImage(Scene::Flash, 89); });
  addPicture(list, QStringLiteral("GF/zelkiabakuhatsu.bmp"), [] { return sceneImage(Scene::Explosion, 89); });
  addPicture(list, QStringLiteral("GF/quilo_badge.bmp"), badge);
  addPicture(list, QStringLiteral("GF/setsumei.bmp"), explanation);
  addPicture(list, QStringLiteral("GF/shutsuryoku_back.jpg"), outputBackdrop);
  // the icon is large already; the desktop scales it down
  addPicture(list, QStringLiteral("GF/quilo_icon.png"), appIcon, false);
}

}  // namespace quilo
