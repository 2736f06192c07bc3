#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class CCardInterface;
class CCardSlot;

// The recent scaled values of every analog and counter channel of the
// station, for the trend: per channel a ring of samples, at most one per
// spacing, holding at least the span. Adding a cycle costs a few
// microseconds per channel and never allocates once a channel's ring exists.
class CTrendHistory {
public:
    struct Sample {
        double time;  // milliseconds since the epoch
        double value; // the scaled value as the monitor shows it
    };

    static constexpr int kSlots = 17;
    static constexpr int kMaxCurves = 8;

    explicit CTrendHistory(std::chrono::milliseconds span = std::chrono::minutes(10),
                           std::chrono::milliseconds spacing = std::chrono::milliseconds(100));

    // Takes the readings of one good cycle. A slot that now holds another
    // model (or none) starts a new history.
    void Add(const CCardSlot& rack, std::chrono::system_clock::time_point when);
    void Clear();

    std::chrono::milliseconds GetSpan() const { return m_span; }
    // The model whose values a slot's curves hold; empty for none.
    const std::wstring& GetModel(int slotIndex) const;
    int GetCurveCount(int slotIndex) const;
    // "Ch 1" ..., as the monitor's list names the channel
    const std::wstring& GetCurveName(int slotIndex, int curve) const;
    // The samples of a curve from the given time on, oldest first, appended to out.
    void CopySamples(int slotIndex, int curve, double fromTime, std::vector<Sample>& out) const;
    // Samples held in all rings.
    std::size_t GetSampleCount() const;

    // The number a value text stands for, read without the user's locale;
    // false for a text that is not one number.
    static bool ParseValue(const std::wstring& text, double& value);

private:
    struct Curve {
        std::wstring name;
        std::int32_t channel = 0;
        std::vector<Sample> ring; // capacity fixed when the curve is made
        std::size_t next = 0;     // where the next sample goes
        std::size_t count = 0;
    };
    struct Slot {
        std::wstring model;
        std::vector<Curve> curves;
        double lastTime = 0.0;
        bool sampled = false; // lastTime holds a sample's time
    };

    void Rebuild(Slot& slot, const CCardInterface& card, const std::wstring& model) const;

    std::chrono::milliseconds m_span;
    std::chrono::milliseconds m_spacing;
    std::size_t m_capacity;
    std::array<Slot, kSlots> m_slots;
};
