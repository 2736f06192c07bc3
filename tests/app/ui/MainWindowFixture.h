#pragma once
#include "app/ui/CK52CONDlg.h"
#include "app/ui/CSlotList.h"
#include "base/CProfile.h"
#include "base/ui/CFileChooser.h"
#include "base/ui/ControlId.h"
#include "link/CComPortList.h"
#include "station/CSimulatedStationPort.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace k52test {

// Answers the main window's file questions in place of the user.
class FakeFileChooser : public CFileChooser {
public:
    struct Log {
        std::vector<std::wstring> filterTexts;
        int asked = 0;
    };

    FakeFileChooser(std::optional<std::wstring> answer, std::shared_ptr<Log> log)
        : m_answer(std::move(answer)), m_log(std::move(log)) {}

    std::optional<std::wstring> ChooseFileToOpen(QWidget*, const std::wstring& filterText) override {
        return Answer(filterText);
    }
    std::optional<std::wstring> ChooseFileToSave(QWidget*, const std::wstring& filterText) override {
        return Answer(filterText);
    }

private:
    std::optional<std::wstring> Answer(const std::wstring& filterText) {
        m_log->filterTexts.push_back(filterText);
        ++m_log->asked;
        return m_answer;
    }

    std::optional<std::wstring> m_answer;
    std::shared_ptr<Log> m_log;
};

inline const std::wstring kTestStationName = L"Test station";

// The sixteen COM ports, a test station as a plug-in adapter, and the demo
// station last: nothing of the machine the tests run on.
inline ComPortSources TestPortSources(const std::wstring& stationPath) {
    ComPortSources sources;
    sources.adapters = [stationPath] {
        return std::vector<ComPortAdapterRecord>{{stationPath, kTestStationName}};
    };
    return sources;
}

struct PopupWait {
    std::function<void(QWidget*)> action;
    QElapsedTimer clock;
    int timeoutMilliseconds = 0;
};

inline void PollForPopup(const std::shared_ptr<PopupWait>& wait) {
    QWidget* popup = QApplication::activePopupWidget();
    if (popup != nullptr && popup->isVisible()) {
        wait->action(popup);
        return;
    }
    if (wait->clock.elapsed() > wait->timeoutMilliseconds) {
        ADD_FAILURE() << "no popup menu opened";
        return;
    }
    QTimer::singleShot(10, [wait] { PollForPopup(wait); });
}

// Runs action on the popup menu that the code under test is about to open.
inline void WhenPopupShown(std::function<void(QWidget*)> action, int timeoutMilliseconds = 5000) {
    auto wait = std::make_shared<PopupWait>();
    wait->action = std::move(action);
    wait->timeoutMilliseconds = timeoutMilliseconds;
    wait->clock.start();
    QTimer::singleShot(0, [wait] { PollForPopup(wait); });
}

// Answers the question about unsaved changes with the button of that text,
// clicked as the user clicks it.
inline void AnswerUnsavedQuestion(const QString& answer) {
    WhenModalShown([answer](QWidget* box) {
        for (QAbstractButton* button : box->findChildren<QAbstractButton*>()) {
            if (button->text() == answer) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        ADD_FAILURE() << "no answer " << answer.toStdString();
    });
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterSimulatedStationPort();
        m_profile = std::make_shared<CMemoryProfile>();
        m_profile->WriteString(L"Settings", L"DisplayLanguage", L"English.lng");
        CProfile::SetApplication(m_profile);
    }

    void TearDown() override {
        m_window.reset();
        CProfile::SetApplication(nullptr);
        // The window resets the application's texts; the next test finds them.
        LoadEnglish();
    }

    CK52CONDlg& OpenWindow(const std::wstring& stationPath = L"sim:") {
        m_window = std::make_unique<CK52CONDlg>(nullptr, TestPortSources(stationPath));
        m_window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        return *m_window;
    }

    void AnswerFileDialogs(std::optional<std::wstring> answer) {
        m_window->SetFileChooser(std::make_unique<FakeFileChooser>(std::move(answer), m_fileLog));
    }

    template <class T = QWidget> T* Control(int id) const {
        T* control = FindControlAs<T>(m_window.get(), id);
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }

    void Click(int id) { QTest::mouseClick(Control<QAbstractButton>(id), Qt::LeftButton); }

    // A click on a row of the slot list, as the user selects a slot.
    void ClickSlotRow(int row) {
        CSlotList* list = m_window->SlotList();
        QRect cell = list->visualRect(list->model()->index(row, CSlotList::ColumnCard));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }

    QString CardText(int row) const {
        QTableWidgetItem* cell = m_window->SlotList()->item(row, CSlotList::ColumnCard);
        return cell != nullptr ? cell->text() : QString();
    }

    std::shared_ptr<CMemoryProfile> m_profile;
    std::unique_ptr<CK52CONDlg> m_window;
    std::shared_ptr<FakeFileChooser::Log> m_fileLog = std::make_shared<FakeFileChooser::Log>();
    ErrorBoxRecorder m_errors;
};

} // namespace k52test
