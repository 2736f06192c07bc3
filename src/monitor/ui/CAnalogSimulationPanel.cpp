#include "monitor/ui/CAnalogSimulationPanel.h"

#include "base/CResourceManager.h"
#include "base/NumberText.h"
#include "base/ui/CDialogUnits.h"
#include "base/ui/CErrorBox.h"
#include "link/CGICommandParser.h"

#include <QLabel>
#include <QLineEdit>

CAnalogSimulationPanel::CAnalogSimulationPanel(QWidget* parent, int windowNumber, int channelCount,
                                               int widthDlu, int heightDlu)
    : CSimulationPanel(parent, windowNumber, widthDlu, heightDlu),
      m_inputs(static_cast<std::size_t>(channelCount)) {
    for (int channel = 0; channel < channelCount; ++channel) {
        // The captions share one identifier, so their texts come from a
        // message that takes the number; the panel is made when the monitor
        // window opens, in the language chosen then.
        const int number = (channel % 4) + 1;
        m_captions.push_back(
            new QLabel(QString::fromStdWString(CResourceManager::FormatMessage(Msg::channel, number)), this));
        m_edits.push_back(new QLineEdit(this));
    }
}

const std::wstring& CAnalogSimulationPanel::GetInput(int channel) const {
    return m_inputs.at(static_cast<std::size_t>(channel));
}

void CAnalogSimulationPanel::SetInput(int channel, std::wstring text) {
    m_inputs.at(static_cast<std::size_t>(channel)) = std::move(text);
}

void CAnalogSimulationPanel::PlaceEdit(int channel, int x, int y) {
    CDialogUnits(font()).Place(Edit(channel), kFirstEditId + channel, x, y, 34, 12);
}

void CAnalogSimulationPanel::PlaceCaption(int channel, int x, int y) {
    CDialogUnits(font()).Place(m_captions.at(static_cast<std::size_t>(channel)), -1, x, y, 38, 8);
}

CAnalogSimulationPanel::Limits CAnalogSimulationPanel::LimitsForStatus(std::int32_t status) const {
    // Status 3 marks a channel that the module reads as unsigned.
    if (status == 3) {
        return {0, 65535};
    }
    return {-32768, 32767};
}

std::int64_t CAnalogSimulationPanel::ParseNumber(const std::wstring& text) {
    // The parser decides what counts as a number (and raises its message);
    // its own result wraps negative and large numbers into 32 bits, which
    // would let -40000 or 4294967295 slip through the limits, so the value is
    // taken from the digits again here.
    const CGICommandParser parser(text);
    static_cast<void>(parser.GetDecValue());
    const std::wstring& value = parser.GetValue();
    const std::optional<WholeNumber> number = ReadWholeNumber(value, 10);
    if (!number) {
        return 0;
    }
    return number->Value();
}

void CAnalogSimulationPanel::LoadControls() {
    for (std::size_t channel = 0; channel < m_edits.size(); ++channel) {
        m_edits[channel]->setText(QString::fromStdWString(m_inputs[channel]));
    }
    if (!m_edits.empty() && m_edits.front()->isEnabled()) {
        m_edits.front()->setFocus();
    }
}

bool CAnalogSimulationPanel::TakeInput() {
    const Limits limits = LimitsForStatus(m_status);
    for (int channel = GetChannelCount() - 1; channel >= 0; --channel) {
        std::wstring& input = m_inputs[static_cast<std::size_t>(channel)];
        input = Edit(channel)->text().toStdWString();
        std::int64_t number = 0;
        try {
            number = ParseNumber(input);
        } catch (const std::exception&) {
            // Named as the channel's caption beside the box, with its range.
            CErrorBox::Show(this, CResourceManager::FormatNumberedMessage(
                                      Msg::inpierr_named,
                                      m_captions.at(static_cast<std::size_t>(channel))->text().toStdWString(),
                                      std::to_wstring(limits.minimum), std::to_wstring(limits.maximum)));
            Edit(channel)->setFocus();
            return false;
        }
        // The limit itself is written out in full: an unsigned maximum of 32
        // bits read back as a signed number would be -1.
        if (number > limits.maximum) {
            input = std::to_wstring(limits.maximum);
        } else if (number < limits.minimum) {
            input = std::to_wstring(limits.minimum);
        } else {
            continue;
        }
        Edit(channel)->setText(QString::fromStdWString(input));
    }
    return true;
}

void CAnalogSimulationPanel::ApplyInputEnabling() {
    for (QLineEdit* edit : m_edits) {
        edit->setEnabled(AreInputsEnabled());
    }
}
