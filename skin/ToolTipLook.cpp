#include "skin/ToolTipLook.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolTip>

namespace zarvin {
namespace {

constexpr int kEdgeWidth = 1;

bool IsToolTip(const QWidget* widget) {
    return widget != nullptr && widget->windowType() == Qt::ToolTip &&
           qobject_cast<const QLabel*>(widget) != nullptr;
}

// Draws the tip's panel as the sheet does: the whole field, then the edge strips over it.
class ToolTipStyle : public QProxyStyle {
public:
    ToolTipStyle(QStyle* base, const QColor& edge) : QProxyStyle(base), edge_(edge) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_PanelTipLabel) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QRect& r = option->rect;
        painter->fillRect(r, option->palette.toolTipBase());
        painter->fillRect(QRect(r.left(), r.top(), r.width(), kEdgeWidth), edge_);
        painter->fillRect(QRect(r.left(), r.bottom() + 1 - kEdgeWidth, r.width(), kEdgeWidth),
                          edge_);
        painter->fillRect(QRect(r.left(), r.top(), kEdgeWidth, r.height()), edge_);
        painter->fillRect(QRect(r.right() + 1 - kEdgeWidth, r.top(), kEdgeWidth, r.height()),
                          edge_);
    }

    // The edge sits outside the tip's margin, as a sheet's border does.
    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override {
        if ((element == SE_ShapedFrameContents || element == SE_FrameContents) &&
            IsToolTip(widget)) {
            return option->rect.adjusted(kEdgeWidth, kEdgeWidth, -kEdgeWidth, -kEdgeWidth);
        }
        return QProxyStyle::subElementRect(element, option, widget);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_ToolTipLabelFrameWidth) {
            return kEdgeWidth;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    QColor edge_;
};

}  // namespace

void UseToolTipLook(const ToolTipColours& colours) {
    // A fresh copy of the style in use (Fusion unless the user chose another) as the base: the
    // application deletes its old style when given the new one.
    const QStyle* inUse = QApplication::style();
    if (const auto* ours = dynamic_cast<const ToolTipStyle*>(inUse)) {
        inUse = ours->baseStyle();
    }
    QStyle* base = QStyleFactory::create(inUse->name());
    QApplication::setStyle(new ToolTipStyle(base, colours.edge));
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, colours.background);
    palette.setColor(QPalette::ToolTipText, colours.text);
    QToolTip::setPalette(palette);
}

}  // namespace zarvin
