#pragma once
#include "monitor/ui/CSimulationPanel.h"

#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;

// A panel of one number per channel. "SET" checks every number against the
// limits that the channel's status gives and replaces a number out of range
// by the nearer limit, which the box then shows.
class CAnalogSimulationPanel : public CSimulationPanel {
    Q_OBJECT

public:
    struct Limits {
        std::int64_t minimum;
        std::int64_t maximum;
    };

    static constexpr int kFirstEditId = 1027;

    int GetChannelCount() const { return static_cast<int>(m_inputs.size()); }

    // The stored input, one text per channel.
    const std::wstring& GetInput(int channel) const;
    void SetInput(int channel, std::wstring text);
    std::int32_t GetStatus() const { return m_status; }
    void SetStatus(std::int32_t status) { m_status = status; }

    // The limits of a channel status for this panel.
    virtual Limits LimitsForStatus(std::int32_t status) const;

    // The whole number a typed text stands for, exactly, with its sign; a
    // number beyond any limit is held at +-10^15. Raises the parser's failure
    // for a text that is not a whole number.
    static std::int64_t ParseNumber(const std::wstring& text);

    QLineEdit* Edit(int channel) const { return m_edits.at(static_cast<std::size_t>(channel)); }

protected:
    CAnalogSimulationPanel(QWidget* parent, int windowNumber, int channelCount, int widthDlu, int heightDlu);

    void PlaceEdit(int channel, int x, int y);
    void PlaceCaption(int channel, int x, int y);

    void LoadControls() override;
    bool TakeInput() override;
    void ApplyInputEnabling() override;

private:
    std::vector<std::wstring> m_inputs;
    std::vector<QLineEdit*> m_edits;
    std::vector<QLabel*> m_captions;
    std::int32_t m_status = 0;
};
