#include "monitor/ui/CTrendView.h"

#include "app/ui/ControlId.h"
#include "base/CResourceManager.h"
#include "monitor/CTrendHistory.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>

namespace {

constexpr double kZoomStep = 0.8;
constexpr int kDefaultMinutes = 10;

// The monitor window's, whose language section holds the trend's texts.
constexpr int kWindowId = 132;

// A language file is outside input: without a text the control keeps the
// English one.
std::wstring GuiText(int id, const wchar_t* fallback) {
    try {
        std::wstring text = CResourceManager::Database().GetGuiText(kWindowId, id);
        return text.empty() ? std::wstring(fallback) : text;
    } catch (const std::exception&) {
        return fallback;
    }
}

// The chart view hands the wheel to the trend, which zooms the time axis.
class CTrendChartView : public QChartView {
public:
    CTrendChartView(QChart* chart, CTrendView* trend) : QChartView(chart, trend), m_trend(trend) {}

protected:
    void wheelEvent(QWheelEvent* event) override {
        const int steps = event->angleDelta().y() / 120;
        if (steps == 0) {
            event->ignore();
            return;
        }
        const QPointF value = chart()->mapToValue(chart()->mapFromScene(mapToScene(event->position().toPoint())));
        m_trend->Zoom(steps, value.x());
        event->accept();
    }

private:
    CTrendView* m_trend;
};

// Keeps at most two points (the lowest and the highest) per pixel column,
// in their order: a curve of thousands of samples looks the same and costs
// a fraction to draw.
void Thin(const std::vector<CTrendHistory::Sample>& samples, double start, double shown, int columns,
          std::vector<QPointF>& points) {
    points.clear();
    if (static_cast<int>(samples.size()) <= 2 * columns || columns <= 0) {
        for (const CTrendHistory::Sample& sample : samples) {
            points.emplace_back(sample.time, sample.value);
        }
        return;
    }
    const double perColumn = shown / columns;
    std::size_t i = 0;
    while (i < samples.size()) {
        const auto column = static_cast<long long>(std::floor((samples[i].time - start) / perColumn));
        std::size_t low = i;
        std::size_t high = i;
        std::size_t j = i + 1;
        for (; j < samples.size() &&
               static_cast<long long>(std::floor((samples[j].time - start) / perColumn)) == column;
             ++j) {
            low = samples[j].value < samples[low].value ? j : low;
            high = samples[j].value > samples[high].value ? j : high;
        }
        const std::size_t first = std::min(low, high);
        const std::size_t second = std::max(low, high);
        points.emplace_back(samples[first].time, samples[first].value);
        if (second != first) {
            points.emplace_back(samples[second].time, samples[second].value);
        }
        i = j;
    }
}

} // namespace

CTrendView::CTrendView(const CTrendHistory& history, QWidget* parent)
    : QGroupBox(parent), m_history(history), m_shownMs(kDefaultMinutes * 60000.0) {
    SetControlId(this, kGroupId);
    setTitle(QStringLiteral("Trend"));

    m_chart = new QChart();
    m_chart->legend()->setVisible(true);
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->setMargins(QMargins(2, 2, 2, 2));
    m_timeAxis = new QDateTimeAxis(m_chart);
    m_timeAxis->setFormat(QStringLiteral("hh:mm:ss"));
    m_timeAxis->setTickCount(5);
    m_valueAxis = new QValueAxis(m_chart);
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_valueAxis, Qt::AlignLeft);
    // The time axis must have a range of real times before it is first laid
    // out: laid out with its default range it keeps no room for its labels.
    m_nowMs = static_cast<double>(QDateTime::currentMSecsSinceEpoch());
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(m_nowMs - m_shownMs)),
                         QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(m_nowMs)));

    m_view = new CTrendChartView(m_chart, this);
    SetControlId(m_view, kChartId);
    m_view->setRenderHint(QPainter::Antialiasing, false);

    m_pause = new QPushButton(QStringLiteral("Pause"), this);
    SetControlId(m_pause, kPauseButtonId);
    m_pause->setAutoDefault(false);
    m_spanLabel = new QLabel(QStringLiteral("Span"), this);
    SetControlId(m_spanLabel, kSpanLabelId);
    m_spans = new QComboBox(this);
    SetControlId(m_spans, kSpanListId);
    m_spanMinutes = {1, 2, 5, 10};
    for (const int minutes : m_spanMinutes) {
        m_spans->addItem(QString::number(minutes));
    }
    m_spans->setCurrentIndex(static_cast<int>(m_spanMinutes.size()) - 1);

    auto* controls = new QHBoxLayout();
    controls->addWidget(m_pause);
    controls->addStretch(1);
    controls->addWidget(m_spanLabel);
    controls->addWidget(m_spans);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(controls);

    m_redrawTimer = new QTimer(this);
    m_redrawTimer->setSingleShot(true);
    m_redrawTimer->setInterval(kRedrawMs);
    connect(m_redrawTimer, &QTimer::timeout, this, &CTrendView::Redraw);
    connect(m_pause, &QPushButton::clicked, this, [this] { SetPaused(!m_paused); });
    connect(m_spans, &QComboBox::activated, this, &CTrendView::ChooseSpan);
    Translate();
}

CTrendView::~CTrendView() = default;

void CTrendView::Translate() {
    setTitle(QString::fromStdWString(GuiText(kGroupId, L"Trend")));
    m_spanLabel->setText(QString::fromStdWString(GuiText(kSpanLabelId, L"Span")));
    m_pause->setText(m_paused ? QString::fromStdWString(CResourceManager::GetMessage(Msg::monitor_resume))
                              : QString::fromStdWString(GuiText(kPauseButtonId, L"&Pause")));
    for (int i = 0; i < m_spans->count(); ++i) {
        const std::wstring text =
            CResourceManager::FormatMessage(Msg::monitor_span, m_spanMinutes[static_cast<std::size_t>(i)]);
        m_spans->setItemText(i, QString::fromStdWString(text));
    }
}

void CTrendView::ShowSlot(int slotIndex, const std::wstring& caption) {
    if (slotIndex == m_slot && caption == m_caption) {
        return;
    }
    m_slot = slotIndex;
    m_caption = caption;
    m_drawnModel.clear();
    Redraw();
}

void CTrendView::NoteCycle(std::chrono::system_clock::time_point now) {
    m_nowMs = static_cast<double>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count());
    if (m_paused || !isVisible() || m_redrawTimer->isActive()) {
        return;
    }
    m_redrawTimer->start();
}

void CTrendView::SetPaused(bool paused) {
    m_paused = paused;
    Translate();
    if (!m_paused) {
        Redraw();
    }
}

void CTrendView::ChooseSpan(int index) {
    if (index < 0 || index >= static_cast<int>(m_spanMinutes.size())) {
        return;
    }
    m_shownMs = m_spanMinutes[static_cast<std::size_t>(index)] * 60000.0;
    Redraw();
}

void CTrendView::Zoom(int steps, double aroundMs) {
    const double widest = static_cast<double>(m_history.GetSpan().count());
    const double shown = std::clamp(m_shownMs * std::pow(kZoomStep, steps), static_cast<double>(kNarrowestMs),
                                    widest);
    if (m_paused && m_endMs > 0.0 && std::isfinite(aroundMs)) {
        // The time under the pointer stays where it is.
        const double start = m_endMs - m_shownMs;
        const double share = std::clamp((aroundMs - start) / m_shownMs, 0.0, 1.0);
        const double newStart = aroundMs - share * shown;
        m_endMs = newStart + shown;
    }
    m_shownMs = shown;
    Redraw();
}

void CTrendView::MakeSeries() {
    for (QLineSeries* series : m_series) {
        m_chart->removeSeries(series);
        delete series;
    }
    m_series.clear();
    for (int curve = 0; curve < m_history.GetCurveCount(m_slot); ++curve) {
        auto* series = new QLineSeries();
        series->setName(QString::fromStdWString(m_history.GetCurveName(m_slot, curve)));
        // Points are handed over in whole; OpenGL is not asked for, the
        // offscreen and remote displays have none.
        m_chart->addSeries(series);
        series->attachAxis(m_timeAxis);
        series->attachAxis(m_valueAxis);
        m_series.push_back(series);
    }
    m_drawnModel = m_history.GetModel(m_slot);
}

void CTrendView::Redraw() {
    const auto started = std::chrono::steady_clock::now();
    if (m_history.GetModel(m_slot) != m_drawnModel || m_series.size() != static_cast<std::size_t>(
                                                                            m_history.GetCurveCount(m_slot))) {
        MakeSeries();
    }
    std::wstring title = m_caption;
    if (!m_drawnModel.empty()) {
        title += L" " + m_drawnModel;
    }
    if (m_slot >= 0 && m_series.empty()) {
        title += L": " + CResourceManager::GetMessage(Msg::monitor_trendnone);
    }
    m_chart->setTitle(QString::fromStdWString(title));

    if (!m_paused || m_endMs <= 0.0) {
        m_endMs = m_nowMs;
    }
    const double end = m_endMs;
    const double start = end - m_shownMs;
    const int columns = std::max(1, static_cast<int>(m_chart->plotArea().width()));
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    std::vector<CTrendHistory::Sample> samples;
    for (std::size_t curve = 0; curve < m_series.size(); ++curve) {
        samples.clear();
        m_history.CopySamples(m_slot, static_cast<int>(curve), start, samples);
        // While paused, what came after the picture's end stays out of it.
        while (!samples.empty() && samples.back().time > end) {
            samples.pop_back();
        }
        Thin(samples, start, m_shownMs, columns, m_points);
        for (const QPointF& point : m_points) {
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
        m_series[curve]->replace(QList<QPointF>(m_points.begin(), m_points.end()));
    }
    if (!std::isfinite(low)) {
        low = 0.0;
        high = 1.0;
    }
    const double margin = high > low ? (high - low) * 0.05 : std::max(1.0, std::abs(high) * 0.05);
    m_valueAxis->setRange(low - margin, high + margin);
    m_valueAxis->applyNiceNumbers();
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(start)),
                         QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(end)));
    ++m_redraws;
    m_lastRedraw = std::chrono::steady_clock::now() - started;
}
