#include "app/SpeedButtonIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace orivel {
namespace {

void drawSunrise(QPainter& p) {
  p.fillRect(QRectF(0, 0, 24, 14), QColor(255, 236, 200));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(220, 30, 30));
  p.drawEllipse(QPointF(12, 14), 7, 7);
  p.fillRect(QRectF(0, 14, 24, 10), QColor(30, 90, 180));
  p.setPen(QPen(QColor(160, 200, 255), 1));
  p.drawLine(QPointF(3, 17.5), QPointF(9, 17.5));
  p.drawLine(QPointF(14, 19.5), QPointF(21, 19.5));
  p.drawLine(QPointF(6, 21.5), QPointF(12, 21.5));
}

void drawShavedIce(QPainter& p) {
  QPainterPath ice;
  ice.moveTo(4, 12);
  ice.cubicTo(4, 3, 20, 3, 20, 12);
  ice.closeSubpath();
  p.setPen(QPen(QColor(200, 40, 40), 0.8));
  p.setBrush(QColor(235, 50, 60));
  p.drawPath(ice);
  p.setBrush(QColor(255, 255, 255, 150));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(9, 8), 2, 1.5);
  QPainterPath bowl;
  bowl.moveTo(2, 12);
  bowl.lineTo(22, 12);
  bowl.cubicTo(21, 18, 16, 19, 12, 19);
  bowl.cubicTo(8, 19, 3, 18, 2, 12);
  p.setPen(QPen(QColor(70, 140, 200), 0.8));
  p.setBrush(QColor(150, 210, 245));
  p.drawPath(bowl);
  p.setBrush(QColor(150, 210, 245));
  p.drawRect(QRectF(9, 19, 6, 2));
  p.drawRect(QRectF(6, 21, 12, 2));
}

void drawCake(QPainter& p) {
  p.setPen(QPen(QColor(150, 90, 40), 0.8));
  p.setBrush(QColor(250, 220, 170));
  p.drawRect(QRectF(3, 12, 18, 9));
  p.setBrush(QColor(255, 255, 255));
  p.drawRect(QRectF(3, 11, 18, 3));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(220, 40, 60));
  for (double x : {6.0, 12.0, 18.0}) p.drawEllipse(QPointF(x, 15.5), 1.3, 1.3);
  for (double x : {7.0, 12.0, 17.0}) {
    p.setBrush(QColor(80, 140, 230));
    p.drawRect(QRectF(x - 0.8, 5, 1.6, 6));
    p.setBrush(QColor(255, 170, 0));
    p.drawEllipse(QPointF(x, 3.5), 1.2, 1.8);
  }
}

void drawFirTree(QPainter& p) {
  p.fillRect(QRectF(0, 0, 24, 24), QColor(20, 30, 70));
  QPainterPath tree;
  tree.moveTo(12, 4);
  tree.lineTo(19, 12);
  tree.lineTo(16, 12);
  tree.lineTo(21, 19);
  tree.lineTo(3, 19);
  tree.lineTo(8, 12);
  tree.lineTo(5, 12);
  tree.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 150, 60));
  p.drawPath(tree);
  p.setBrush(QColor(120, 70, 30));
  p.drawRect(QRectF(10.5, 19, 3, 3));
  QPainterPath star;
  for (int i = 0; i < 10; ++i) {
    const double r = (i % 2 == 0) ? 3.2 : 1.3;
    const double a = -M_PI / 2 + i * M_PI / 5;
    const QPointF pt(12 + r * std::cos(a), 3.5 + r * std::sin(a));
    if (i == 0)
      star.moveTo(pt);
    else
      star.lineTo(pt);
  }
  star.closeSubpath();
  p.setBrush(QColor(255, 220, 0));
  p.drawPath(star);
}

void drawHeart(QPainter& p) {
  QPainterPath heart;
  heart.moveTo(12, 21);
  heart.cubicTo(4, 15, 1, 10, 4, 6);
  heart.cubicTo(7, 2, 11, 4, 12, 7.5);
  heart.cubicTo(13, 4, 17, 2, 20, 6);
  heart.cubicTo(23, 10, 20, 15, 12, 21);
  p.setPen(QPen(QColor(170, 20, 60), 0.8));
  p.setBrush(QColor(235, 50, 100));
  p.drawPath(heart);
}

void drawFish(QPainter& p, QPointF at, bool facingLeft) {
  p.save();
  p.translate(at);
  if (facingLeft) p.scale(-1, 1);
  QPainterPath body;
  body.moveTo(-5, 0);
  body.cubicTo(-3, -3.5, 3, -3.5, 5, 0);
  body.cubicTo(3, 3.5, -3, 3.5, -5, 0);
  body.moveTo(-5, 0);
  body.lineTo(-8, -2.5);
  body.lineTo(-8, 2.5);
  body.closeSubpath();
  p.setPen(QPen(QColor(20, 60, 150), 0.6));
  p.setBrush(QColor(50, 110, 220));
  p.drawPath(body);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(2.8, -0.7), 0.9, 0.9);
  p.restore();
}

void drawFishes(QPainter& p) {
  p.setPen(QPen(QColor(40, 150, 70), 1.4, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  QPainterPath weed1;
  weed1.moveTo(4, 23);
  weed1.cubicTo(2, 18, 6, 15, 3, 9);
  QPainterPath weed2;
  weed2.moveTo(20, 23);
  weed2.cubicTo(22, 19, 18, 16, 21, 11);
  p.drawPath(weed1);
  p.drawPath(weed2);
  drawFish(p, QPointF(12, 7), false);
  drawFish(p, QPointF(13, 16), true);
}

void drawCheckBox(QPainter& p, QRectF box, bool ticked) {
  p.setPen(QPen(QColor(40, 40, 40), 1.2));
  p.setBrush(Qt::white);
  p.drawRect(box);
  if (!ticked) return;
  QPainterPath tick;
  tick.moveTo(box.left() + box.width() * 0.2, box.top() + box.height() * 0.5);
  tick.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.75);
  tick.lineTo(box.left() + box.width() * 0.82, box.top() + box.height() * 0.22);
  p.setPen(QPen(QColor(200, 20, 20), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(tick);
}

void drawArrowHead(QPainter& p, QPointF tip, double dx, double dy) {
  QPainterPath head;
  head.moveTo(tip);
  head.lineTo(tip.x() - dx * 2.5 - dy * 2, tip.y() - dy * 2.5 + dx * 2);
  head.lineTo(tip.x() - dx * 2.5 + dy * 2, tip.y() - dy * 2.5 - dx * 2);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 90, 200));
  p.drawPath(head);
}

void drawSwap(QPainter& p) {
  drawCheckBox(p, QRectF(1.5, 1.5, 9, 9), true);
  drawCheckBox(p, QRectF(13.5, 13.5, 9, 9), false);
  p.setPen(QPen(QColor(30, 90, 200), 1.3));
  p.setBrush(Qt::NoBrush);
  QPainterPath upper;
  upper.moveTo(12, 4);
  upper.quadTo(19, 4, 19, 10);
  p.drawPath(upper);
  drawArrowHead(p, QPointF(19, 12), 0, 1);
  QPainterPath lower;
  lower.moveTo(12, 20);
  lower.quadTo(5, 20, 5, 14);
  p.drawPath(lower);
  drawArrowHead(p, QPointF(5, 12), 0, -1);
}

}  // namespace

QPixmap speedButtonPixmap(int kind, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 24.0, size / 24.0);
  switch (kind) {
    case 1:
      drawSunrise(p);
      break;
    case 2:
      drawShavedIce(p);
      break;
    case 3:
      drawCake(p);
      break;
    case 4:
      drawFirTree(p);
      break;
    case 5:
      drawHeart(p);
      break;
    case 6:
      drawFishes(p);
      break;
    case 7:
      drawCheckBox(p, QRectF(3.5, 3.5, 17, 17), true);
      break;
    case 8:
      drawCheckBox(p, QRectF(3.5, 3.5, 17, 17), false);
      break;
    case 9:
      drawSwap(p);
      break;
    default:
      break;
  }
  return pixmap;
}

QIcon speedButtonIcon(int kind) {
  QIcon icon;
  icon.addPixmap(speedButtonPixmap(kind, 24));
  icon.addPixmap(speedButtonPixmap(kind, 48));
  return icon;
}

}  // namespace orivel
