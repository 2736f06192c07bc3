#include "editing/ui/CParameterListCtrl.h"

#include "base/CException.h"
#include "base/CResourceManager.h"
#include "base/ui/CErrorBox.h"
#include "catalog/CCardInterface.h"
#include "editing/ParameterListRules.h"
#include "editing/ui/CEditComboBox.h"
#include "editing/ui/CEditText.h"
#include "editing/ui/CListStepper.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <exception>
#include <functional>

namespace {

// The drop-down editor may hold this many options of a list.
constexpr int kMaxListEntries = 1000;

// Background of the name cells and headings in a list without group view,
// and of the changeable value cells there.
const QColor kPlainNameBackground(100, 255, 150);
const QColor kPlainValueBackground(255, 255, 180);

QColor Tinted(const QColor& color, int percent) {
    const RgbColor tinted = TintColor(RgbColor{color.red(), color.green(), color.blue()}, percent);
    return QColor(tinted.red, tinted.green, tinted.blue);
}

// A cell's text; a language file that lacks it leaves the cell empty rather
// than the rest of the list unfilled.
QString CellText(const std::function<std::wstring()>& fetch) {
    return QString::fromStdWString(TextOr(fetch));
}

void SetCellText(QTreeWidgetItem* item, int column, const QString& text, bool force) {
    if (force || item->text(column) != text) {
        item->setText(column, text);
        item->setToolTip(column, QString::fromStdWString(ToolTipText(text.toStdWString())));
    }
}

} // namespace

CParameterListCtrl::CParameterListCtrl(QWidget* parent) : QTreeWidget(parent) {
    m_editors.Attach(this);

    setColumnCount(ColumnCount);
    setHeaderHidden(true);
    setHeaderLabels({QString(), QString(), QString()});
    // Before a column is hidden: changing the stretch of the last section
    // afterwards counts the hidden column's width again.
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(0);
    setColumnHidden(ColumnHidden, true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // Editors and stepper lie in the viewport, whose coordinates are those of
    // the cells, and scroll and clip with them.
    m_editors.Create(viewport());
    m_stepper = new CListStepper(viewport());

    // Above the viewport, in room the list makes for it while it is open.
    m_filterField = new QLineEdit(this);
    m_filterField->setClearButtonEnabled(true);
    m_filterField->hide();
    m_filterField->installEventFilter(this);
    m_noMatch = new QLabel(viewport());
    m_noMatch->setTextFormat(Qt::PlainText);
    m_noMatch->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_noMatch->setWordWrap(true);
    m_noMatch->setEnabled(false);
    m_noMatch->hide();
    connect(m_filterField, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_filterText = text;
        ApplyFilter();
    });

    connect(this, &QTreeWidget::currentItemChanged, this, &CParameterListCtrl::OnCurrentItemChanged);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &CParameterListCtrl::OnCurrentItemChanged);
    connect(this, &QAbstractItemView::clicked, this, &CParameterListCtrl::OnClicked);
    connect(this, &QAbstractItemView::doubleClicked, this, &CParameterListCtrl::OnDoubleClicked);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CParameterListCtrl::OnVerticalScroll);
    connect(m_stepper, &CListStepper::Stepped, this, &CParameterListCtrl::OnStep);
}

CParameterListCtrl::~CParameterListCtrl() {
    // The view's bases still clear the items and the scroll range after this
    // body; their signals must not reach the parts of the list already gone.
    disconnect(this, nullptr, this, nullptr);
    disconnect(verticalScrollBar(), nullptr, this, nullptr);
    disconnect(m_stepper, nullptr, this, nullptr);
    disconnect(m_filterField, nullptr, this, nullptr);
    m_filterField->removeEventFilter(this);
}

void CParameterListCtrl::Initialize(bool groupView) {
    DeleteRowsFrom(0);
    DeleteGroupsFrom(0);
    m_grouped = groupView;
    SetColumnWidths();
    m_editors.HideAll();
    m_stepper->hide();
}

void CParameterListCtrl::ShowCard(std::shared_ptr<CCardInterface> card) {
    HideEditors();
    m_card = std::move(card);
    m_editedParameter = -1;
    Refill(true);
}

bool CParameterListCtrl::IsValidParameter(int parameter) const {
    return m_card != nullptr && parameter >= 0 && parameter < m_card->GetParameterCount();
}

QTreeWidgetItem* CParameterListCtrl::RowItem(int row) const {
    if (row < 0 || row >= GetRowCount()) {
        return nullptr;
    }
    return m_rows[static_cast<std::size_t>(row)];
}

int CParameterListCtrl::RowOfItem(const QTreeWidgetItem* item) const {
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row] == item) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

int CParameterListCtrl::ParameterOfRow(int row) const {
    const QTreeWidgetItem* item = RowItem(row);
    if (item == nullptr) {
        return -1;
    }
    bool ok = false;
    const int parameter = item->data(ColumnHidden, kParameterRole).toInt(&ok);
    return ok ? parameter : -1;
}

QRect CParameterListCtrl::CellRect(int row, int column) const {
    const QTreeWidgetItem* item = RowItem(row);
    if (item == nullptr) {
        return QRect();
    }
    return visualRect(indexFromItem(item, column));
}

QTreeWidgetItem* CParameterListCtrl::GroupItem(int group) const {
    if (group < 0 || group >= GetGroupCount()) {
        return nullptr;
    }
    return m_groups[static_cast<std::size_t>(group)];
}

int CParameterListCtrl::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : RowOfItem(selected.front());
}

void CParameterListCtrl::Refill(bool clear) {
    // Adding rows one by one would show every step; the list is hidden from
    // view while rows are added and shown again at the end.
    bool frozen = false;
    auto freeze = [this, &frozen] {
        if (!frozen) {
            setUpdatesEnabled(false);
            frozen = true;
        }
    };
    if (clear) {
        freeze();
        DeleteRowsFrom(0);
        DeleteGroupsFrom(0);
    }

    int row = 0;
    int group = -1;
    if (m_card != nullptr && (!m_adjustMode || m_card->IsAdjustmentRead())) {
        QTreeWidgetItem* root = invisibleRootItem();
        QTreeWidgetItem* parent = root;
        int topLevelCount = 0; // headings and rows before the first heading
        int positionInGroup = 0;
        for (int parameter = 0; parameter < m_card->GetParameterCount(); ++parameter) {
            const ParameterDefinition& definition = m_card->GetParameter(parameter);
            if (definition.kind == KindGroup && m_grouped) {
                ++group;
                if (group >= GetGroupCount()) {
                    freeze();
                }
                parent =
                    PlaceGroup(group, topLevelCount, CellText([&] { return m_card->GetCaption(parameter); }));
                ++topLevelCount;
                positionInGroup = 0;
                continue;
            }
            if (!IsShownInList(definition, m_adjustMode)) {
                continue;
            }
            if (row >= GetRowCount()) {
                freeze();
            }
            const int position = parent == root ? topLevelCount : positionInGroup;
            QTreeWidgetItem* item = PlaceRow(row, parent, position);
            if (parent == root) {
                ++topLevelCount;
            } else {
                ++positionInGroup;
            }
            if (item->data(ColumnHidden, kParameterRole) != QVariant(parameter)) {
                item->setData(ColumnHidden, kParameterRole, parameter);
            }
            SetCellText(item, ColumnName, CellText([&] { return m_card->GetCaption(parameter); }),
                        m_forceText);
            SetCellText(item, ColumnValue, CellText([&] { return m_card->GetDisplayText(parameter); }),
                        m_forceText);
            ++row;
        }
    }
    DeleteRowsFrom(row);
    DeleteGroupsFrom(group + 1);
    ApplyFilter();
    ApplyAllRowColours();

    m_forceText = false;
    SetColumnWidths();
    if (frozen) {
        setUpdatesEnabled(true);
    }
    viewport()->update();
    UpdateCurrentParameterAndStepper();
}

QTreeWidgetItem* CParameterListCtrl::PlaceGroup(int group, int topLevelPosition, const QString& caption) {
    QTreeWidgetItem* heading = nullptr;
    if (group >= GetGroupCount()) {
        heading = new QTreeWidgetItem();
        // Not selectable, but enabled: the rows under a disabled item would be
        // disabled too. The keys and the mouse pass headings by.
        heading->setFlags(Qt::ItemIsEnabled);
        QFont bold = font();
        bold.setBold(true);
        heading->setFont(ColumnName, bold);
        heading->setForeground(ColumnName, palette().brush(QPalette::Active, QPalette::Text));
        m_groups.push_back(heading);
        insertTopLevelItem(topLevelPosition, heading);
    } else {
        heading = m_groups[static_cast<std::size_t>(group)];
        const int index = indexOfTopLevelItem(heading);
        if (index != topLevelPosition) {
            takeTopLevelItem(index);
            insertTopLevelItem(topLevelPosition, heading);
        }
    }
    SetCellText(heading, ColumnName, caption, m_forceText);
    heading->setExpanded(true);
    return heading;
}

QTreeWidgetItem* CParameterListCtrl::PlaceRow(int row, QTreeWidgetItem* parent, int position) {
    if (row >= GetRowCount()) {
        auto* item = new QTreeWidgetItem();
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        parent->insertChild(position, item);
        m_rows.push_back(item);
        return item;
    }
    QTreeWidgetItem* item = m_rows[static_cast<std::size_t>(row)];
    QTreeWidgetItem* holder = item->parent() != nullptr ? item->parent() : invisibleRootItem();
    const int index = holder->indexOfChild(item);
    if (holder != parent || index != position) {
        holder->takeChild(index);
        parent->insertChild(position, item);
    }
    return item;
}

void CParameterListCtrl::DeleteRowsFrom(int row) {
    while (GetRowCount() > row) {
        delete m_rows.back();
        m_rows.pop_back();
    }
}

void CParameterListCtrl::DeleteGroupsFrom(int group) {
    while (GetGroupCount() > group) {
        // Its rows are rows of this refill no more, and were deleted before.
        delete m_groups.back();
        m_groups.pop_back();
    }
}

void CParameterListCtrl::SetColumnWidths() {
    setColumnHidden(ColumnHidden, true);
    const int width = viewport()->width();
    // width / 1.8, truncated, in whole numbers so that no rounding of 1.8
    // takes a pixel off.
    const int nameWidth = width * 5 / 9;
    setColumnWidth(ColumnName, nameWidth);
    setColumnWidth(ColumnValue, width - nameWidth);
}

void CParameterListCtrl::ApplyAllRowColours() {
    for (int row = 0; row < GetRowCount(); ++row) {
        ApplyRowColours(row);
    }
}

void CParameterListCtrl::ApplyRowColours(int row) {
    QTreeWidgetItem* item = RowItem(row);
    const int parameter = ParameterOfRow(row);
    if (item == nullptr || !IsValidParameter(parameter)) {
        return;
    }
    const QPalette& colours = palette();
    const QColor window = colours.color(QPalette::Active, QPalette::Base);
    const QColor windowText = colours.color(QPalette::Active, QPalette::Text);
    const QColor greyText = colours.color(QPalette::Disabled, QPalette::Text);
    const bool disabled = m_card->IsDisabled(parameter);
    const bool odd = row % 2 == 1;

    QColor nameBackground;
    QColor valueBackground;
    QColor nameText;
    QColor valueText;
    if (m_grouped) {
        nameBackground = Tinted(window, odd ? 10 : 5);
        valueBackground = odd ? Tinted(window, 5) : window;
        nameText = disabled ? greyText : windowText;
        valueText = nameText;
    } else {
        nameBackground = kPlainNameBackground;
        nameText = windowText;
        if (m_card->GetParameter(parameter).kind == KindGroup) {
            valueBackground = kPlainNameBackground;
            valueText = windowText;
        } else if (!disabled) {
            valueBackground = kPlainValueBackground;
            valueText = windowText;
        } else {
            valueBackground = colours.color(QPalette::Active, QPalette::Button);
            valueText = greyText;
        }
    }
    // QTreeWidgetItem leaves equal values alone, so an unchanged row is not redrawn.
    item->setBackground(ColumnName, nameBackground);
    item->setBackground(ColumnValue, valueBackground);
    item->setForeground(ColumnName, nameText);
    item->setForeground(ColumnValue, valueText);
}

void CParameterListCtrl::BeginEdit(int row, wchar_t firstCharacter) {
    if (m_card == nullptr || m_rows.empty()) {
        return;
    }
    // In adjust mode the last change has not reached the module yet.
    if (m_adjustMode && m_writeRequest) {
        return;
    }
    if (row < 0) {
        row = SelectedRow();
    }
    QTreeWidgetItem* item = RowItem(row);
    if (item == nullptr) {
        return;
    }
    const int parameter = ParameterOfRow(row);
    if (!IsValidParameter(parameter)) {
        return;
    }
    // An editor over a cell out of sight would be typed into blind.
    scrollToItem(item);
    m_cellRect = CellRect(row, ColumnValue);
    m_editedParameter = parameter;
    if (m_card->IsDisabled(parameter)) {
        return;
    }

    const ParameterDefinition& definition = m_card->GetParameter(parameter);
    switch (EditorKindFor(definition)) {
    case EditorKind::DropDown: {
        CEditComboBox* combo = m_editors.ComboEditor();
        if (!combo->isEnabled()) {
            return;
        }
        m_editors.HideAll();
        combo->clear();
        for (int entry = 0; entry < kMaxListEntries; ++entry) {
            const QString text = CellText([&] { return m_card->GetListText(parameter, entry); });
            if (text.isEmpty()) {
                break;
            }
            std::int32_t data = m_card->GetListData(parameter, entry);
            if (data == -2) {
                data = entry;
            }
            combo->addItem(text, data);
        }
        combo->setCurrentIndex(0);
        const int stored = combo->findText(CellText([&] { return m_card->GetStoredValueText(parameter); }),
                                           Qt::MatchExactly);
        if (stored >= 0) {
            combo->setCurrentIndex(stored);
        }
        combo->setGeometry(m_cellRect.adjusted(-2, -4, 2, 0));
        combo->Open();
        return;
    }
    case EditorKind::Text: {
        CEditText* editor = m_editors.TextEditor();
        m_editors.HideAll();
        editor->setGeometry(m_cellRect);
        // A password is typed unseen, as it is shown masked.
        editor->setEchoMode(IsPasswordRow(definition) ? QLineEdit::Password : QLineEdit::Normal);
        editor->show();
        editor->raise();
        editor->setText(CellText([&] { return m_card->GetStoredValueText(parameter); }));
        editor->selectAll();
        editor->setFocus(Qt::OtherFocusReason);
        if (firstCharacter != 0) {
            const QString typed = QString::fromWCharArray(&firstCharacter, 1);
            if (!typed.isEmpty() && typed.at(0).isPrint()) {
                // Typed, not set: it replaces the selected value as a key would.
                QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
                QCoreApplication::sendEvent(editor, &key);
            }
        }
        return;
    }
    case EditorKind::None:
        return;
    }
}

void CParameterListCtrl::Update(CObservable* subject) {
    if (subject != &m_editors) {
        return;
    }
    // Taken at once: taking the focus back below makes the editor report
    // again, which overwrites the editor set's fields.
    const int result = m_editors.GetResult();
    const std::int32_t chosenValue = m_editors.GetChosenValue();
    const std::wstring enteredText = m_editors.GetEnteredText();
    const int move = m_editors.GetMove();
    const int parameter = m_editedParameter;

    if (result != CParEdit::ResultNone && IsValidParameter(parameter)) {
        const EditorKind kind = EditorKindFor(m_card->GetParameter(parameter));
        try {
            if (kind == EditorKind::DropDown && result == CParEdit::ResultChoice) {
                m_card->SetCheckedValue(parameter, chosenValue);
                RaiseWriteRequest();
            } else if (kind == EditorKind::Text && result == CParEdit::ResultText) {
                m_card->SetFromText(parameter, enteredText);
                RaiseWriteRequest();
            }
        } catch (const std::exception& error) {
            // The card refused the value and kept the old one; its message
            // says why.
            CErrorBox::Show(window(), GetExceptionMessage(error));
        }
        Refill(false);
        NotifyObservers();
        m_forceText = true;
    }

    setFocus(Qt::OtherFocusReason);
    if (move != CEditText::MoveNone) {
        MoveAndEdit(move);
    }
}

void CParameterListCtrl::MoveAndEdit(int move) {
    if (m_rows.empty()) {
        return;
    }
    int row = SelectedRow();
    if (row < 0) {
        return;
    }
    // On to the next row in sight; the last (or first) row edits itself again.
    if (move == CEditText::MoveNext) {
        const int next = ShownRowFrom(row + 1, 1);
        row = next >= 0 ? next : row;
    } else if (move == CEditText::MovePrevious) {
        const int previous = ShownRowFrom(row - 1, -1);
        row = previous >= 0 ? previous : row;
    }
    QTreeWidgetItem* item = RowItem(row);
    setCurrentItem(item, ColumnName);
    scrollToItem(item);
    BeginEdit(row, 0);
}

void CParameterListCtrl::EnableSteppers(bool enable) {
    m_stepper->setEnabled(enable);
    m_editors.ComboEditor()->setEnabled(enable);
}

void CParameterListCtrl::HideEditors() {
    const bool editorActive = m_editors.IsAnyActive();
    m_editors.HideAll();
    if (editorActive) {
        setFocus(Qt::OtherFocusReason);
    }
}

void CParameterListCtrl::OnCurrentItemChanged() {
    UpdateCurrentParameterAndStepper();
}

void CParameterListCtrl::OnVerticalScroll() {
    HideEditors();
    m_stepper->hide();
    UpdateCurrentParameterAndStepper();
}

void CParameterListCtrl::UpdateCurrentParameterAndStepper() {
    const int row = SelectedRow();
    m_currentParameter = ParameterOfRow(row);
    bool show = false;
    if (m_adjustMode && IsValidParameter(m_currentParameter)) {
        show =
            IsSteppable(m_card->GetParameter(m_currentParameter)) && !m_card->IsDisabled(m_currentParameter);
    }
    if (!show) {
        m_stepper->hide();
        return;
    }
    const QRect cell = CellRect(row, ColumnValue);
    const QRect rowRect(QPoint(0, cell.top()), QPoint(cell.right(), cell.bottom()));
    m_stepper->setGeometry(rowRect.right() - CListStepper::kWidth + 1, rowRect.top(), CListStepper::kWidth,
                           rowRect.height());
    m_stepper->show();
    m_stepper->raise();
}

void CParameterListCtrl::OnClicked(const QModelIndex& index) {
    if (m_adjustMode || index.column() != ColumnValue) {
        return;
    }
    const int row = RowOfItem(itemFromIndex(index));
    if (row >= 0) {
        BeginEdit(row, 0);
    }
}

void CParameterListCtrl::OnDoubleClicked(const QModelIndex& index) {
    if (index.column() != ColumnValue) {
        return;
    }
    const int row = RowOfItem(itemFromIndex(index));
    if (row >= 0) {
        BeginEdit(row, 0);
    }
}

void CParameterListCtrl::OnStep(int delta) {
    if (!m_adjustMode || !IsValidParameter(m_currentParameter)) {
        return;
    }
    const ParameterDefinition& definition = m_card->GetParameter(m_currentParameter);
    if (!IsSteppable(definition) || m_card->IsDisabled(m_currentParameter)) {
        return;
    }
    try {
        m_card->StepValue(m_currentParameter, delta);
    } catch (const std::exception& error) {
        CErrorBox::Show(window(), GetExceptionMessage(error));
        return;
    }
    EnableSteppers(false);
    RaiseWriteRequest();
    Refill(false);
}

void CParameterListCtrl::RaiseWriteRequest() {
    m_writeRequest = true;
    emit WriteRequested();
}

void CParameterListCtrl::keyPressEvent(QKeyEvent* event) {
    // Keys an open editor did not want pass through here on their way to the
    // window; they are the window's (Escape), not the list's.
    if (QApplication::focusWidget() != this) {
        event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        // The arrows step the value in adjust mode; the list has nothing to
        // scroll sideways, and headings are not to be reached.
        if (m_adjustMode && m_stepper->isVisible()) {
            if (event->key() == Qt::Key_Left) {
                m_stepper->PressLeft();
            } else {
                m_stepper->PressRight();
            }
        }
        event->accept();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        MoveSelection(event->key());
        event->accept();
        return;
    case Qt::Key_Escape:
        // Escape first takes back a filter, showing every row again.
        if (IsFilterOpen()) {
            CloseFilter();
            event->accept();
            return;
        }
        event->ignore();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The owner decides: Enter begins an edit, Escape hides the editors.
        event->ignore();
        return;
    default:
        break;
    }
    const QString text = event->text();
    const Qt::KeyboardModifiers commandModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (!text.isEmpty() && text.at(0).isPrint() && (event->modifiers() & commandModifiers) == 0) {
        const std::wstring typed = text.toStdWString();
        BeginEdit(-1, typed.front());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CParameterListCtrl::MoveSelection(int key) {
    // Over the rows in sight only: those the filter leaves out are passed by,
    // and while it narrows the list, the disabled rows it found.
    const int first = StopRowFrom(0, 1);
    const int last = StopRowFrom(GetRowCount() - 1, -1);
    if (first < 0) {
        return;
    }
    const int rowHeight = std::max(1, visualItemRect(RowItem(first)).height());
    const int page = std::max(1, viewport()->height() / rowHeight - 1);
    // Steps over count shown rows in direction, stopping at the last one.
    auto stepShown = [this](int from, int direction, int count) {
        int row = from;
        for (int i = 0; i < count; ++i) {
            const int next = StopRowFrom(row + direction, direction);
            if (next < 0) {
                break;
            }
            row = next;
        }
        return row;
    };
    int row = SelectedRow();
    if (row < 0 || !IsRowShown(row)) {
        row = key == Qt::Key_Up || key == Qt::Key_PageUp || key == Qt::Key_End ? last : first;
    } else if (key == Qt::Key_Up) {
        row = stepShown(row, -1, 1);
    } else if (key == Qt::Key_Down) {
        row = stepShown(row, 1, 1);
    } else if (key == Qt::Key_PageUp) {
        row = stepShown(row, -1, page);
    } else if (key == Qt::Key_PageDown) {
        row = stepShown(row, 1, page);
    } else if (key == Qt::Key_Home) {
        row = first;
    } else if (key == Qt::Key_End) {
        row = last;
    }
    QTreeWidgetItem* item = RowItem(row);
    setCurrentItem(item, ColumnName);
    scrollToItem(item);
}

void CParameterListCtrl::mousePressEvent(QMouseEvent* event) {
    if (IsHeadingAt(event->position().toPoint())) {
        // A heading is no row: the selection stays where it is.
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void CParameterListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (IsHeadingAt(event->position().toPoint())) {
        event->accept();
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}

bool CParameterListCtrl::IsHeadingAt(const QPoint& position) const {
    const QTreeWidgetItem* item = itemAt(position);
    return item != nullptr && RowOfItem(item) < 0;
}

void CParameterListCtrl::focusInEvent(QFocusEvent* event) {
    QTreeWidget::focusInEvent(event);
    UpdateCurrentParameterAndStepper();
}

void CParameterListCtrl::focusOutEvent(QFocusEvent* event) {
    QTreeWidget::focusOutEvent(event);
    m_stepper->hide();
}

void CParameterListCtrl::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    PlaceFilterField();
    SetColumnWidths();
    UpdateCurrentParameterAndStepper();
}

void CParameterListCtrl::OpenFilter() {
    if (!m_filterField->isVisible()) {
        m_filterField->setPlaceholderText(
            QString::fromStdWString(CResourceManager::GetMessage(Msg::listfilter)));
        m_filterField->show();
        PlaceFilterField();
    }
    m_filterField->setFocus(Qt::ShortcutFocusReason);
    m_filterField->selectAll();
}

void CParameterListCtrl::CloseFilter() {
    const bool hadFocus = m_filterField->hasFocus();
    m_filterField->clear();
    m_filterField->hide();
    PlaceFilterField();
    if (hadFocus) {
        setFocus(Qt::OtherFocusReason);
    }
}

bool CParameterListCtrl::IsFilterOpen() const {
    return m_filterField->isVisible();
}

void CParameterListCtrl::PlaceFilterField() {
    if (!m_filterField->isVisible()) {
        setViewportMargins(0, 0, 0, 0);
        return;
    }
    const int height = m_filterField->sizeHint().height();
    setViewportMargins(0, height, 0, 0);
    const int frame = frameWidth();
    m_filterField->setGeometry(frame, frame, width() - 2 * frame, height);
}

bool CParameterListCtrl::IsRowShown(int row) const {
    const QTreeWidgetItem* item = RowItem(row);
    return item != nullptr && !item->isHidden();
}

bool CParameterListCtrl::IsFiltering() const {
    return IsFilterOpen() && !m_filterText.trimmed().isEmpty();
}

int CParameterListCtrl::StopRowFrom(int row, int step) const {
    const bool filtering = IsFiltering();
    for (row = ShownRowFrom(row, step); row >= 0; row = ShownRowFrom(row + step, step)) {
        const int parameter = ParameterOfRow(row);
        if (!filtering || !IsValidParameter(parameter) || !m_card->IsDisabled(parameter)) {
            return row;
        }
    }
    return -1;
}

int CParameterListCtrl::ShownRowFrom(int row, int step) const {
    for (; row >= 0 && row < GetRowCount(); row += step) {
        if (IsRowShown(row)) {
            return row;
        }
    }
    return -1;
}

void CParameterListCtrl::ApplyFilter() {
    const QString wanted = m_filterText.trimmed();
    for (QTreeWidgetItem* item : m_rows) {
        const bool shown = wanted.isEmpty() || item->text(ColumnName).contains(wanted, Qt::CaseInsensitive) ||
                           item->text(ColumnValue).contains(wanted, Qt::CaseInsensitive);
        if (item->isHidden() == shown) {
            item->setHidden(!shown);
        }
    }
    for (QTreeWidgetItem* heading : m_groups) {
        // A heading stays while one of its rows is in sight; a group none of
        // whose rows this mode shows is left out altogether.
        bool anyShown = false;
        for (int child = 0; child < heading->childCount() && !anyShown; ++child) {
            anyShown = !heading->child(child)->isHidden();
        }
        if (heading->isHidden() == anyShown) {
            heading->setHidden(!anyShown);
        }
    }
    // A filter that finds nothing says so, where the rows would be.
    const bool none = !wanted.isEmpty() && ShownRowFrom(0, 1) < 0;
    if (none) {
        m_noMatch->setText(QString::fromStdWString(CResourceManager::FormatMessage(Msg::listfilter_none, wanted.toStdWString())));
        m_noMatch->setGeometry(4, 8, std::max(0, viewport()->width() - 8), viewport()->height() / 2);
    }
    m_noMatch->setVisible(none);
    // A selected row the filter hides is no longer to be edited blind.
    const int selected = SelectedRow();
    if (selected >= 0 && !IsRowShown(selected)) {
        HideEditors();
        clearSelection();
        setCurrentItem(nullptr);
    }
}

bool CParameterListCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_filterField && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Escape:
            CloseFilter();
            return true;
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // On to the rows found: the selected one if it is in sight, else the first.
            const int selected = SelectedRow();
            const int row = selected >= 0 && IsRowShown(selected) ? selected : StopRowFrom(0, 1);
            setFocus(Qt::OtherFocusReason);
            if (row >= 0) {
                setCurrentItem(RowItem(row), ColumnName);
                scrollToItem(RowItem(row));
            }
            return true;
        }
        default:
            break;
        }
    }
    return QTreeWidget::eventFilter(watched, event);
}

void CParameterListCtrl::changeEvent(QEvent* event) {
    QTreeWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        ApplyAllRowColours();
    }
}
