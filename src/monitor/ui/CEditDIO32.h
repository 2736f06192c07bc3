#pragma once
#include "monitor/ui/CSimulationPanel.h"

#include <array>
#include <cstdint>

class QCheckBox;

// Simulation panel of the digital modules (window 133): one box per point,
// bit 0 is box 1. Only the boxes of the mask can be used.
class CEditDIO32 : public CSimulationPanel {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 133;
    static constexpr int kPointCount = 32;

    explicit CEditDIO32(QWidget* parent);
    ~CEditDIO32() override;

    // The identifier of the box of a bit: bit 0 is 1013, bits 1 to 31 are 1045 to 1075.
    static int BoxId(int bit) { return bit == 0 ? 1013 : 1044 + bit; }

    std::uint32_t GetValue() const { return m_value; }
    void SetValue(std::uint32_t value) { m_value = value; }
    std::uint32_t GetMask() const { return m_mask; }
    void SetMask(std::uint32_t mask) { m_mask = mask; }

    QCheckBox* Box(int bit) const { return m_boxes.at(static_cast<std::size_t>(bit)); }

protected:
    void LoadControls() override;
    bool TakeInput() override;
    void ApplyInputEnabling() override;

private:
    std::array<QCheckBox*, kPointCount> m_boxes{};
    std::uint32_t m_value = 0;
    std::uint32_t m_mask = 0;
};
