// Every text of every window fits its control, in each language, as the
// style draws it: the text in the control's own font with the margins the
// style puts around it, against the control's width. The windows are
// walked, not listed control by control, so that a control added later is
// measured too. ctest runs this under an English and a Japanese locale as
// well (the locale decides the desktop's font).
//
// K52_SCREENSHOT_DIR names a folder for pictures of each window in each
// language (main-window-English.png, monitor-window-Japanese.png, ...).
#include "MainWindowFixture.h"
#include "app/ui/CPreferencesDialog.h"
#include "base/CResourceManager.h"
#include "base/TextConvert.h"
#include "base/ui/ControlTextFit.h"
#include "catalog/CCardInterface.h"
#include "editing/ui/CParameterListCtrl.h"
#include "monitor/ui/CEditAIO4.h"
#include "monitor/ui/CEditDIO32.h"
#include "monitor/ui/CMonitorDialog.h"
#include "monitor/ui/CMonitorListCtrl.h"
#include "monitor/ui/CSimulationPanel.h"
#include "rack/ui/CProgressDialog.h"
#include "station/CSimulatedStation.h"
#include "support/ScriptedThread.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <set>
#include <sstream>

namespace {

using k52test::WhenModalShown;

int TextWidth(const QWidget* control, const QString& text) {
    return QFontMetrics(control->font()).size(Qt::TextShowMnemonic, text).width();
}

QString Describe(const QWidget* control) {
    const std::optional<int> id = GetControlId(control);
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(QString::fromLatin1(control->metaObject()->className()))
        .arg(id ? QString::number(*id) : QStringLiteral("-"))
        .arg(ShownText(control));
}

// Where the control's own style leaves room for its text, and how wide the
// text is there; empty room for a control without a text to measure.
struct Room {
    int text = 0;
    int room = 0;
};

Room RoomOf(const QWidget* control) {
    const QStyle* style = control->style();
    if (const auto* box = qobject_cast<const QCheckBox*>(control)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        if (box->text().isEmpty()) {
            // A box alone: its indicator must not be cut, nor reach the next box.
            return {style->pixelMetric(QStyle::PM_IndicatorWidth, &option, box), box->width()};
        }
        return {TextWidth(box, box->text()),
                style->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width()};
    }
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        if (button->text().isEmpty()) {
            return {};
        }
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        if (button->autoDefault() || button->isDefault()) {
            option.features |= QStyleOptionButton::AutoDefaultButton;
        }
        // The label is drawn inside the contents and keeps the button margin from its frame.
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
        return {TextWidth(button, button->text()),
                style->subElementRect(QStyle::SE_PushButtonContents, &option, button).width() - margin};
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->text().isEmpty() || label->wordWrap()) {
            return {};
        }
        int room = label->contentsRect().width() - 2 * label->margin();
        if (label->buddy() != nullptr) {
            // A label that names its neighbour must not run into it.
            room -= std::max(0, style->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, label));
        }
        return {TextWidth(label, label->text()), room};
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
        if (group->title().isEmpty()) {
            return {};
        }
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.textAlignment = group->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        // The title is measured from where the style puts it to the far
        // edge, less the same inset.
        return {TextWidth(group, group->title()), group->width() - 2 * std::max(0, title.left())};
    }
    return {};
}

bool IsPlaced(const QWidget* control) {
    return GetControlId(control).has_value();
}

// Everything wrong with the texts of one window, one line each.
std::vector<std::string> Misfits(const QWidget* window) {
    std::vector<std::string> found;
    const auto say = [&](const QString& text) { found.push_back(text.toStdString()); };
    const QList<QWidget*> parts = window->findChildren<QWidget*>();
    for (qsizetype index = 0; index < parts.size(); ++index) {
        const QWidget* control = parts[index];
        if (control->window() != window) {
            continue;
        }
        const Room room = RoomOf(control);
        if (room.text > room.room) {
            say(QStringLiteral("%1: needs %2 px, has %3")
                    .arg(Describe(control))
                    .arg(room.text)
                    .arg(room.room));
        }
        // Column headings of the lists.
        if (const auto* header = qobject_cast<const QHeaderView*>(control);
            header != nullptr && header->isVisibleTo(window)) {
            const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            for (int section = 0; section < header->count(); ++section) {
                const QString text = header->model()->headerData(section, header->orientation()).toString();
                const int width = QFontMetrics(header->font()).horizontalAdvance(text) + margin;
                if (!text.isEmpty() && width > header->sectionSize(section)) {
                    say(QStringLiteral("heading \"%1\": needs %2 px, has %3")
                            .arg(text)
                            .arg(width)
                            .arg(header->sectionSize(section)));
                }
            }
        }
        if (!IsPlaced(control) || !control->isVisibleTo(window)) {
            continue;
        }
        // A control stays inside what holds it, and off the controls beside it
        // (a group box frames others and lies under them by design).
        const QWidget* holder = control->parentWidget();
        if (!holder->rect().contains(control->geometry())) {
            say(Describe(control) + QStringLiteral(" reaches out of its window or panel"));
        }
        if (qobject_cast<const QGroupBox*>(control) != nullptr) {
            continue;
        }
        for (qsizetype later = index + 1; later < parts.size(); ++later) {
            const QWidget* other = parts[later];
            if (other->parentWidget() != holder || !IsPlaced(other) || !other->isVisibleTo(window) ||
                qobject_cast<const QGroupBox*>(other) != nullptr) {
                continue;
            }
            // Side by side they keep a pixel apart at least (one above the
            // other they may meet, as a list meets the button over it).
            if (control->geometry().adjusted(-1, 0, 1, 0).intersects(other->geometry())) {
                say(Describe(control) + QStringLiteral(" touches ") + Describe(other));
            }
        }
    }
    return found;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::ostringstream out;
    for (const std::string& line : lines) {
        out << "\n  " << line;
    }
    return out.str();
}

class WindowTextFit : public k52test::MainWindowTest {
protected:
    // Checks a window shown in a language, and keeps its picture if asked to.
    void Check(const QWidget* window, const char* name, const std::string& language) {
        const std::vector<std::string> misfits = Misfits(window);
        EXPECT_TRUE(misfits.empty()) << name << " in " << language << " ("
                                     << QFontInfo(window->font()).family().toStdString()
                                     << "):" << Lines(misfits);
        ++m_checked;
        // Any other window that exists now (made hidden beforehand, or opened
        // beside this one) is measured as well, once per language.
        for (const QWidget* other : QApplication::topLevelWidgets()) {
            const QString kind = QString::fromLatin1(other->metaObject()->className());
            const bool placed =
                std::any_of(other->children().begin(), other->children().end(), [](QObject* child) {
                    auto* widget = qobject_cast<QWidget*>(child);
                    return widget != nullptr && IsPlaced(widget);
                });
            if (other == window || !placed || !m_others.insert(kind.toStdString() + language).second) {
                continue;
            }
            const std::vector<std::string> more = Misfits(other);
            EXPECT_TRUE(more.empty()) << kind.toStdString() << " in " << language << ":" << Lines(more);
        }
        if (const char* folder = std::getenv("K52_SCREENSHOT_DIR")) {
            QTest::qWait(50);
            const QString file = QStringLiteral("%1/%2-%3.png")
                                     .arg(QString::fromLocal8Bit(folder), QString::fromLatin1(name),
                                          QString::fromStdString(language));
            EXPECT_TRUE(const_cast<QWidget*>(window)->grab().save(file)) << file.toStdString();
        }
    }

    int m_checked = 0;
    std::set<std::string> m_others;
};

} // namespace

TEST_F(WindowTextFit, EveryWindowInEveryLanguage) {
    for (const std::string language : {"English", "Japanese"}) {
        SCOPED_TRACE(language);
        m_profile->WriteString(L"Settings", L"DisplayLanguage", FromUtf8(language + ".lng"));
        CK52CONDlg& window = OpenWindow();
        ASSERT_TRUE(m_errors.Texts().empty());
        // The demo station's modules, the analog one chosen.
        auto* ports = Control<QComboBox>(CK52CONDlg::IdPortCombo);
        ports->setCurrentIndex(ports->count() - 2); // the demo station, before "Other port..."
        Click(CK52CONDlg::IdUpload);
        ASSERT_TRUE(m_errors.Texts().empty());
        ClickSlotRow(1);
        Check(&window, "main-window", language);

        WhenModalShown([&](QWidget* preferences) {
            Check(preferences, "preferences", language);
            QTest::keyClick(preferences, Qt::Key_Escape);
        });
        Click(CK52CONDlg::IdPreferences);

        {
            k52test::ScriptedThread thread([](k52test::ScriptedThread& self) { self.WaitForRelease(); });
            CProgressDialog progress;
            WhenModalShown([&](QWidget* modal) {
                const std::wstring reading = CResourceManager::GetMessage(Msg::uploading);
                thread.SetProgressText(reading);
                thread.GetProgress().SetTotal(3);
                thread.GetProgress().SetCurrent(1);
                const auto* message = FindControlAs<QLabel>(modal, CProgressDialog::IdMessage);
                EXPECT_TRUE(QTest::qWaitFor([&] { return message->text().toStdWString() == reading; }, 5000));
                Check(modal, "progress", language);
                thread.Release();
            });
            progress.RunWithThread(thread);
        }

        // The monitor on the demo station, with the panel of its analog module.
        const std::shared_ptr<CSimulatedStation> station = GetSimulatedStation(L"sim:");
        WhenModalShown([&](QWidget* modal) {
            auto* monitor = qobject_cast<CMonitorDialog*>(modal);
            ASSERT_NE(monitor, nullptr);
            CMonitorListCtrl* list = monitor->MonitorList();
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return list->Rack().GetCard(1) && list->Rack().GetCard(1)->GetTypeCode() != 0; },
                5000));
            const CCardInterface& card = *list->Rack().GetCard(1);
            for (int channel = 0; channel < card.GetChannelCount(); ++channel) {
                if (card.GetChannelRow(channel).channelKind == ChannelSwitch) {
                    station->SetValue(1, card.GetChannelRow(channel).valuePage,
                                      card.GetChannelRow(channel).valueItem, L"1");
                }
            }
            const QRect cell = list->visualRect(list->model()->index(1, 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    return monitor->AdjustList()->isVisible() && monitor->FourChannelPanel()->isVisible() &&
                           monitor->FourChannelPanel()->SetButton()->isEnabled();
                },
                5000));
            Check(modal, "monitor-window", language);
            // The sixteen-point module's panel (the demo station addresses
            // it): thirty-two boxes side by side.
            const QRect digital = list->visualRect(list->model()->index(2, 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, digital.center());
            EXPECT_TRUE(monitor->DigitalPanel()->isVisible());
            Check(modal, "monitor-window-digital", language);
            // The analog module simulates: closing asks whether to leave it so,
            // and Escape leaves it.
            QTimer::singleShot(0, modal, [] {
                if (QWidget* question = QApplication::activeModalWidget()) {
                    QTest::keyClick(question, Qt::Key_Escape);
                }
            });
            modal->close();
        });
        Click(CK52CONDlg::IdMonitor);
        ASSERT_TRUE(m_errors.Texts().empty());
    }
    EXPECT_EQ(m_checked, 10);
}
