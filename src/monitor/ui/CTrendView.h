#pragma once
#include "monitor/TrendScale.h"

#include <QGroupBox>
#include <QPointF>
#include <QString>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class CTrendHistory;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

// The trend of the selected module: one curve per analog or counter channel
// over the last minutes, scrolling as cycles arrive, with a legend. "Pause"
// holds the picture while the history goes on filling; the mouse wheel
// zooms the time axis (around the pointer while paused, at the newest value
// while running); the span chooses how many minutes are shown.
//
// Drawing is kept off the monitor's cycle: a cycle only notes that there is
// something new, and the curves are drawn at most every kRedrawMs.
class CTrendView : public QGroupBox {
    Q_OBJECT

public:
    static constexpr int kGroupId = 1094;
    static constexpr int kChartId = 1095;
    static constexpr int kPauseButtonId = 1096;
    static constexpr int kSpanLabelId = 1097;
    static constexpr int kSpanListId = 1098;
    static constexpr int kRedrawMs = 250;
    // The shortest time a zoom shows.
    static constexpr int kNarrowestMs = 10000;

    CTrendView(const CTrendHistory& history, QWidget* parent = nullptr);
    ~CTrendView() override;

    // The slot whose curves are drawn; -1 for none. caption names it ("IO05").
    void ShowSlot(int slotIndex, const std::wstring& caption);
    int GetSlot() const { return m_slot; }
    // A cycle has ended at now: draws soon unless paused.
    void NoteCycle(std::chrono::system_clock::time_point now);
    // Draws at once what the history holds for the shown time.
    void Redraw();

    void SetPaused(bool paused);
    bool IsPaused() const { return m_paused; }
    // The time shown, and where it ends (milliseconds since the epoch).
    double GetShownMs() const { return m_shownMs; }
    double GetEndMs() const { return m_endMs; }
    // Zooms the time axis by wheel steps (positive: closer) around a time.
    void Zoom(int steps, double aroundMs);

    // One curve as drawn last: its legend name and its points (time in
    // milliseconds since the epoch, scaled value), at most two a pixel column.
    struct Curve {
        QString name;
        std::vector<QPointF> points;
    };

    // The drawing: title, curves, axes and legend.
    QWidget* Plot() const { return m_plot; }
    QPushButton* PauseButton() const { return m_pause; }
    QComboBox* SpanList() const { return m_spans; }
    const std::vector<Curve>& Curves() const { return m_curves; }
    const QString& Title() const { return m_title; }
    const TrendTicks& ValueAxis() const { return m_valueTicks; }
    // The time at a horizontal position of the plot.
    double TimeAt(double x) const;
    // Redraws so far, and the time the last one took.
    std::uint64_t GetRedrawCount() const { return m_redraws; }
    std::chrono::nanoseconds GetLastRedrawTime() const { return m_lastRedraw; }

    // The language texts of the pause button's two states and of the spans.
    void Translate();

private:
    friend class CTrendPlot;
    void ChooseSpan(int index);
    void Paint(QWidget* plot);

    const CTrendHistory& m_history;
    int m_slot = -1;
    std::wstring m_caption;
    bool m_paused = false;
    double m_shownMs;
    double m_endMs = 0.0;
    double m_nowMs = 0.0;
    std::uint64_t m_redraws = 0;
    std::chrono::nanoseconds m_lastRedraw{0};

    QWidget* m_plot = nullptr;
    std::vector<Curve> m_curves;
    QString m_title;
    TrendTicks m_valueTicks;
    // Where the curves were last drawn, in the plot's pixels.
    double m_areaLeft = 0.0;
    double m_areaWidth = 1.0;
    QPushButton* m_pause = nullptr;
    QLabel* m_spanLabel = nullptr;
    QComboBox* m_spans = nullptr;
    QTimer* m_redrawTimer = nullptr;
    std::vector<int> m_spanMinutes;
    // Reused between redraws.
    std::vector<QPointF> m_pixels;
};
