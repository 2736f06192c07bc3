#include "base/ui/ControlTextFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QVariant>

#include <algorithm>

namespace {

constexpr const char* kFullTextProperty = "k52fulltext";
constexpr const char* kElideModeProperty = "k52elide";

int TextWidth(const QWidget* control, const QString& text, int flags) {
    return QFontMetrics(control->font()).size(flags, text).width();
}

// What a push button puts around its label: its frame, the default-button
// ring where it has one, and the style's button margin.
int PushButtonMargins(const QPushButton* button) {
    const QStyle* style = button->style();
    int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    if (button->autoDefault() || button->isDefault()) {
        frame += style->pixelMetric(QStyle::PM_ButtonDefaultIndicator, nullptr, button);
    }
    return style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) + 2 * frame;
}

// What a label puts around its text. A label that names the control beside
// it keeps the style's spacing from it, or the two read as one.
int LabelMargins(const QLabel* label) {
    const QMargins margins = label->contentsMargins();
    int width = margins.left() + margins.right() + 2 * label->margin() + std::max(0, label->indent());
    if (label->buddy() != nullptr) {
        int spacing = label->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, label);
        if (spacing < 0) {
            spacing = label->style()->layoutSpacing(QSizePolicy::Label, QSizePolicy::ComboBox, Qt::Horizontal,
                                                    nullptr, label);
        }
        width += std::max(0, spacing);
    }
    return width;
}

int GroupBoxNeed(const QGroupBox* box) {
    if (box->title().isEmpty()) {
        return 0;
    }
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isCheckable()) {
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    }
    if (box->isFlat()) {
        option.features |= QStyleOptionFrame::Flat;
    }
    // Measured in a box wide enough for any title, with the inset the style
    // leaves before the title kept after it as well.
    option.rect = QRect(0, 0, 100000, box->height());
    const QRect title =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    return title.right() + 1 + std::max(0, title.left());
}

// The margins around the text of a control that shortens its text.
int ShortenedTextMargins(const QWidget* control) {
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        // A button whose style sheet pads its text pays for the padding too.
        return PushButtonMargins(button) + button->contentsMargins().left() +
               button->contentsMargins().right();
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return LabelMargins(label);
    }
    return 0;
}

void SetText(QWidget* control, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    }
}

} // namespace

QString ShownText(const QWidget* control) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
        return group->title();
    }
    return {};
}

int NeededWidth(const QWidget* control) {
    if (ShortensItsText(control)) {
        return 0;
    }
    if (qobject_cast<const QCheckBox*>(control) != nullptr ||
        qobject_cast<const QRadioButton*>(control) != nullptr) {
        // The style's own measure: indicator, spacing and text (or the
        // indicator alone).
        return control->sizeHint().width();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        if (button->text().isEmpty()) {
            return 0;
        }
        return TextWidth(button, button->text(), Qt::TextShowMnemonic) + PushButtonMargins(button);
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->text().isEmpty() || label->wordWrap()) {
            return 0;
        }
        const int flags = label->buddy() != nullptr ? Qt::TextShowMnemonic : 0;
        return TextWidth(label, label->text(), flags) + LabelMargins(label);
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
        return GroupBoxNeed(group);
    }
    return 0;
}

void SetShortenedText(QWidget* control, const QString& text, Qt::TextElideMode mode) {
    control->setProperty(kFullTextProperty, text);
    control->setProperty(kElideModeProperty, static_cast<int>(mode));
    RefitShortenedText(control);
}

bool ShortensItsText(const QWidget* control) {
    return control->property(kFullTextProperty).isValid();
}

void RefitShortenedText(QWidget* control) {
    const QVariant full = control->property(kFullTextProperty);
    if (!full.isValid()) {
        return;
    }
    const QString text = full.toString();
    const auto mode = static_cast<Qt::TextElideMode>(control->property(kElideModeProperty).toInt());
    const int room = std::max(0, control->width() - ShortenedTextMargins(control));
    const QString shown = QFontMetrics(control->font()).elidedText(text, mode, room);
    SetText(control, shown);
    control->setToolTip(shown == text ? QString() : text);
}

QString WithoutAccessKey(const QString& text) {
    static const QRegularExpression kTrailingKey(QStringLiteral("\\(&[^&]\\)$"));
    QString plain = text;
    plain.remove(kTrailingKey);
    QString result;
    for (qsizetype at = 0; at < plain.size(); ++at) {
        if (plain[at] == QLatin1Char('&') && at + 1 < plain.size()) {
            ++at; // "&&" stands for one "&"
        }
        result += plain[at];
    }
    return result;
}
