#include "kydisplayviewlabelhandler.h"

#include "kydisplayviewattribute.h"
#include "kydisplayviewstylesheet.h"
#include "widgets/base/widgetslog.h"

#include <QLabel>

namespace {

struct LabelRule
{
    int scale;
    int heightExtra;
    int bottomGap;
    QString (*styleSheet)(const QColor&, int);
};

constexpr LabelRule kIconViewRule = {KyDisplayView::kIconViewScale, KyDisplayView::kIconViewHeightExtra,
                                     KyDisplayView::kIconViewBottomGap,
                                     &KyDisplayViewStyleSheet::getIconViewLabelTextString};
constexpr LabelRule kPropertyViewRule = {KyDisplayView::kPropertyViewScale,
                                         KyDisplayView::kPropertyViewHeightExtra,
                                         KyDisplayView::kPropertyViewBottomGap,
                                         &KyDisplayViewStyleSheet::getPropertyViewLabelTextString};

int pixelSizeFor(const KyDisplayViewAttribute& attribute, int scale)
{
    const qint64 pixels = qint64(attribute.size) * scale;
    if (pixels <= 0 || pixels > KyDisplayView::kMaxPixelSize) {
        qCWarning(lcWidgets) << "[KyDisplayViewLabelHandler] title size out of range:" << attribute.size;
        return int(qBound(qint64(1), pixels, qint64(KyDisplayView::kMaxPixelSize)));
    }
    return int(pixels);
}

void modifyLabel(QLabel* label, int height, const KyDisplayViewAttribute& attribute, const LabelRule& rule)
{
    if (!label) {
        qCWarning(lcWidgets) << "[KyDisplayViewLabelHandler] no label to modify";
        return;
    }
    label->setAlignment(Qt::Alignment(QFlag(attribute.horAlignment)) | Qt::AlignBottom);

    const int pixelSize = pixelSizeFor(attribute, rule.scale);
    QFont font = label->font();
    if (!attribute.family.isEmpty())
        font.setFamily(attribute.family);
    font.setWeight(attribute.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(attribute.italic);
    font.setUnderline(attribute.underLine);
    font.setPixelSize(pixelSize);
    label->setFont(font);

    label->setStyleSheet(rule.styleSheet(attribute.color, pixelSize));
    label->setFixedHeight(pixelSize + rule.heightExtra);
    label->move(label->x(), height - pixelSize - rule.bottomGap);
}

} // namespace

void KyDisplayViewLabelHandler::modifyIconWidgetLabel(QLabel* label, int height,
                                                      const KyDisplayViewAttribute& attribute)
{
    modifyLabel(label, height, attribute, kIconViewRule);
}

void KyDisplayViewLabelHandler::modifyPropertyWidgetLabel(QLabel* label, int height,
                                                          const KyDisplayViewAttribute& attribute)
{
    modifyLabel(label, height, attribute, kPropertyViewRule);
}
