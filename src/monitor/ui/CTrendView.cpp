#include "monitor/ui/CTrendView.h"

#include "base/CResourceManager.h"
#include "base/ui/ControlId.h"
#include "monitor/CTrendHistory.h"

#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <exception>
#include <iterator>
#include <limits>

namespace {

constexpr double kZoomStep = 0.8;
constexpr int kDefaultMinutes = 10;

// The monitor window's, whose language section holds the trend's texts.
constexpr int kWindowId = 132;

// A language file is outside input: without a text the control keeps the
// English one.
std::wstring GuiText(int id, const wchar_t* fallback) {
    const std::wstring text = TextOr([&] { return CResourceManager::Database().GetGuiText(kWindowId, id); });
    return text.empty() ? std::wstring(fallback) : text;
}

// A curve's colour: distinct on white and in a grey print.
const QColor& CurveColour(std::size_t curve) {
    static const QColor kColours[] = {QColor(0x1f, 0x5f, 0xbf), QColor(0xd0, 0x40, 0x10),
                                      QColor(0x20, 0x90, 0x30), QColor(0x90, 0x30, 0xa0),
                                      QColor(0x00, 0x90, 0x90), QColor(0xa0, 0x80, 0x00),
                                      QColor(0x60, 0x60, 0x60), QColor(0xe0, 0x30, 0x80)};
    return kColours[curve % std::size(kColours)];
}

// A value label with no more digits than the tick step needs.
QString ValueLabel(double value, double step) {
    const int decimals = step >= 1.0 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    return QString::number(value, 'f', decimals);
}

} // namespace

// The drawing area: paints what the trend computed, and turns the wheel
// into a zoom of the time axis.
class CTrendPlot : public QWidget {
public:
    explicit CTrendPlot(CTrendView* trend) : QWidget(trend), m_trend(trend) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(120, 80);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

protected:
    void paintEvent(QPaintEvent*) override { m_trend->Paint(this); }

    void wheelEvent(QWheelEvent* event) override {
        const int steps = event->angleDelta().y() / 120;
        if (steps == 0) {
            event->ignore();
            return;
        }
        m_trend->Zoom(steps, m_trend->TimeAt(event->position().x()));
        event->accept();
    }

private:
    CTrendView* m_trend;
};

namespace {

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

    m_nowMs = static_cast<double>(QDateTime::currentMSecsSinceEpoch());
    m_plot = new CTrendPlot(this);
    SetControlId(m_plot, kChartId);

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
    layout->addWidget(m_plot, 1);
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
    const double shown =
        std::clamp(m_shownMs * std::pow(kZoomStep, steps), static_cast<double>(kNarrowestMs), widest);
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

double CTrendView::TimeAt(double x) const {
    const double start = m_endMs - m_shownMs;
    return start + (x - m_areaLeft) / m_areaWidth * m_shownMs;
}

namespace {

// The plot's rows: the title on top, the time labels and the legend below.
struct PlotRows {
    int lineHeight;
    int top;
    int bottom; // of the curves' area
};

PlotRows RowsOf(const QWidget& plot) {
    const int line = plot.fontMetrics().height();
    return {line, line + 4, plot.height() - 2 * line - 8};
}

} // namespace

void CTrendView::Redraw() {
    const auto started = std::chrono::steady_clock::now();
    const std::wstring& model = m_history.GetModel(m_slot);
    const int curveCount = m_history.GetCurveCount(m_slot);
    m_curves.resize(static_cast<std::size_t>(curveCount));
    std::wstring title = m_caption;
    if (!model.empty()) {
        title += L" " + model;
    }
    if (m_slot >= 0 && curveCount == 0) {
        title += L": " + CResourceManager::GetMessage(Msg::monitor_trendnone);
    }
    m_title = QString::fromStdWString(title);

    if (!m_paused || m_endMs <= 0.0) {
        m_endMs = m_nowMs;
    }
    const double end = m_endMs;
    const double start = end - m_shownMs;
    const int columns = std::max(1, m_plot->width());
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    std::vector<CTrendHistory::Sample> samples;
    for (std::size_t curve = 0; curve < m_curves.size(); ++curve) {
        samples.clear();
        m_history.CopySamples(m_slot, static_cast<int>(curve), start, samples);
        // While paused, what came after the picture's end stays out of it.
        while (!samples.empty() && samples.back().time > end) {
            samples.pop_back();
        }
        Curve& drawn = m_curves[curve];
        drawn.name = QString::fromStdWString(m_history.GetCurveName(m_slot, static_cast<int>(curve)));
        Thin(samples, start, m_shownMs, columns, drawn.points);
        for (const QPointF& point : drawn.points) {
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
    }
    const PlotRows rows = RowsOf(*m_plot);
    const int tickRoom = std::clamp((rows.bottom - rows.top) / (2 * rows.lineHeight), 2, 8);
    m_valueTicks = ValueTicks(low, high, tickRoom);
    if (m_plot->isVisible()) {
        m_plot->repaint();
    }
    ++m_redraws;
    m_lastRedraw = std::chrono::steady_clock::now() - started;
}

void CTrendView::Paint(QWidget* plot) {
    QPainter painter(plot);
    painter.fillRect(plot->rect(), Qt::white);
    const QFontMetrics metrics = plot->fontMetrics();
    const PlotRows rows = RowsOf(*plot);

    int labelWidth = 0;
    for (const double value : m_valueTicks.values) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(ValueLabel(value, m_valueTicks.step)));
    }
    const QRect area(labelWidth + 8, rows.top, std::max(1, plot->width() - labelWidth - 16),
                     std::max(1, rows.bottom - rows.top));
    m_areaLeft = area.left();
    m_areaWidth = area.width();
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, plot->width(), rows.lineHeight + 2), Qt::AlignCenter,
                     metrics.elidedText(m_title, Qt::ElideRight, plot->width()));

    const double start = m_endMs - m_shownMs;
    const double valueSpan = std::max(m_valueTicks.high - m_valueTicks.low, 1e-12);
    const auto toX = [&](double time) { return area.left() + (time - start) / m_shownMs * area.width(); };
    const auto toY = [&](double value) {
        return area.bottom() - (value - m_valueTicks.low) / valueSpan * area.height();
    };

    // Grid and value labels.
    const QPen grid(QColor(0xdd, 0xdd, 0xdd));
    for (const double value : m_valueTicks.values) {
        const int y = static_cast<int>(std::lround(toY(value)));
        painter.setPen(grid);
        painter.drawLine(area.left(), y, area.right(), y);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, y - rows.lineHeight / 2, labelWidth + 4, rows.lineHeight),
                         Qt::AlignRight | Qt::AlignVCenter, ValueLabel(value, m_valueTicks.step));
    }
    // Times at whole local seconds and minutes, as many as fit.
    const int timeWidth = metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 12;
    const double offset =
        QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(m_endMs)).offsetFromUtc() * 1000.0;
    const TrendTicks times = TimeTicks(start, m_endMs, std::max(1, area.width() / timeWidth), offset);
    for (const double time : times.values) {
        const int x = static_cast<int>(std::lround(toX(time)));
        painter.setPen(grid);
        painter.drawLine(x, area.top(), x, area.bottom());
        const QRect box(x - timeWidth / 2, area.bottom() + 2, timeWidth, rows.lineHeight);
        if (box.left() < area.left() - 6 || box.right() > plot->width()) {
            continue; // it would run into the value labels or off the edge
        }
        painter.setPen(Qt::black);
        const QString label =
            QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(time)).toString(QStringLiteral("hh:mm:ss"));
        painter.drawText(box, Qt::AlignCenter, label);
    }
    painter.setPen(Qt::gray);
    painter.drawRect(area);

    // The curves, clipped to their area.
    painter.save();
    painter.setClipRect(area.adjusted(0, 0, 1, 1));
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (std::size_t curve = 0; curve < m_curves.size(); ++curve) {
        const std::vector<QPointF>& points = m_curves[curve].points;
        m_pixels.clear();
        for (const QPointF& point : points) {
            m_pixels.emplace_back(toX(point.x()), toY(point.y()));
        }
        painter.setPen(QPen(CurveColour(curve), 1.5));
        if (m_pixels.size() == 1) {
            painter.drawPoint(m_pixels.front());
        } else if (!m_pixels.empty()) {
            painter.drawPolyline(m_pixels.data(), static_cast<int>(m_pixels.size()));
        }
    }
    painter.restore();

    // The legend: a stroke of each curve's colour and its name.
    int x = area.left();
    const int y = plot->height() - rows.lineHeight - 2;
    for (std::size_t curve = 0; curve < m_curves.size(); ++curve) {
        const QString& name = m_curves[curve].name;
        painter.setPen(QPen(CurveColour(curve), 3));
        painter.drawLine(x, y + rows.lineHeight / 2, x + 16, y + rows.lineHeight / 2);
        painter.setPen(Qt::black);
        painter.drawText(QRect(x + 20, y, metrics.horizontalAdvance(name) + 2, rows.lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        x += 20 + metrics.horizontalAdvance(name) + 14;
    }
}
