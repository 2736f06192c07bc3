#pragma once
#include "base/CObservable.h"
#include "base/CObserver.h"
#include "editing/ui/CParEdit.h"

#include <QTreeWidget>

#include <memory>
#include <vector>

class CCardInterface;
class CListStepper;
class QLabel;
class QLineEdit;

// The list of one card's parameters: name and value, row by row, with the
// card's groups as headings, changed in place. In configuration mode (the
// main window) it shows every parameter but the one-shot commands; in adjust
// mode (the monitor window) only the adjustment rows and the commands, with a
// stepper for the adjustment values, and every change raises the write
// request the monitor window sends to the module.
//
// It observes its editor set and tells its own observers when a value was
// committed. Rows are numbered from 0 over the parameter rows only; group
// headings are not rows.
//
// A long list can be narrowed: a small field above the rows (OpenFilter)
// keeps only the rows whose caption or shown value contains its text, with
// the headings of those rows; Escape in it clears it and closes it. Rows out
// of sight keep their numbers and values; only what is shown changes.
class CParameterListCtrl : public QTreeWidget, public CObserver, public CObservable {
    Q_OBJECT

public:
    enum Column { ColumnHidden = 0, ColumnName = 1, ColumnValue = 2, ColumnCount = 3 };
    // Item data of column 0: the row's index in the card's parameter table.
    static constexpr int kParameterRole = Qt::UserRole;

    explicit CParameterListCtrl(QWidget* parent = nullptr);
    ~CParameterListCtrl() override;

    // Prepares the list once its window exists; groupView false shows the
    // headings as ordinary rows.
    void Initialize(bool groupView = true);
    // Shows a card from scratch (nothing for null); open editors are hidden.
    void ShowCard(std::shared_ptr<CCardInterface> card);
    // Brings the rows in line with the card; without clear only cells whose
    // text changed are rewritten.
    void Refill(bool clear);
    // Opens the editor of a row (-1: the selected row); firstCharacter, when
    // not 0, replaces the value as if typed.
    void BeginEdit(int row, wchar_t firstCharacter);
    // The stepper and the drop-down editor are disabled after a step until
    // the owner has sent the change.
    void EnableSteppers(bool enable);
    // For the owner's Escape key.
    void HideEditors();
    // Shows the filter field above the rows and gives it the focus.
    void OpenFilter();
    // Clears and closes it: every row is shown again.
    void CloseFilter();
    bool IsFilterOpen() const;
    QLineEdit* FilterField() const { return m_filterField; }
    // The text shown in place of the rows when the filter finds none.
    QLabel* NoMatchLabel() const { return m_noMatch; }
    // Whether a row is shown under the filter now.
    bool IsRowShown(int row) const;
    // Column 1 takes the client width / 1.8, column 2 the rest; done after
    // every refill, and by an owner that has resized or shown the list.
    void SetColumnWidths();

    void Update(CObservable* subject) override;

    void SetAdjustMode(bool adjustMode) { m_adjustMode = adjustMode; }
    bool IsAdjustMode() const { return m_adjustMode; }
    bool IsGrouped() const { return m_grouped; }
    bool GetWriteRequest() const { return m_writeRequest; }
    void ClearWriteRequest() { m_writeRequest = false; }
    // Parameter index of the selected row, -1 for none.
    int GetCurrentParameter() const { return m_currentParameter; }
    int GetEditedParameter() const { return m_editedParameter; }

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    QTreeWidgetItem* RowItem(int row) const;
    // The row of an item, -1 for a heading or a foreign item.
    int RowOfItem(const QTreeWidgetItem* item) const;
    int ParameterOfRow(int row) const;
    // Where a cell of a row lies in the viewport, which holds the editors.
    QRect CellRect(int row, int column) const;
    int GetGroupCount() const { return static_cast<int>(m_groups.size()); }
    QTreeWidgetItem* GroupItem(int group) const;

    CParEdit& Editors() { return m_editors; }
    CListStepper* Stepper() const { return m_stepper; }

signals:
    // In adjust mode: a value was committed or stepped, and the card and the
    // selected row now hold what is to be written. Sent at once, before the
    // user can select anything else.
    void WriteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsValidParameter(int parameter) const;
    int SelectedRow() const;
    QTreeWidgetItem* PlaceGroup(int group, int topLevelPosition, const QString& caption);
    QTreeWidgetItem* PlaceRow(int row, QTreeWidgetItem* parent, int position);
    void DeleteRowsFrom(int row);
    void DeleteGroupsFrom(int group);
    void ApplyRowColours(int row);
    void ApplyAllRowColours();
    void OnCurrentItemChanged();
    void OnVerticalScroll();
    void OnClicked(const QModelIndex& index);
    void OnDoubleClicked(const QModelIndex& index);
    void OnStep(int delta);
    void UpdateCurrentParameterAndStepper();
    void MoveAndEdit(int move);
    // Up, Down, PageUp, PageDown, Home and End over the rows, past the headings.
    void MoveSelection(int key);
    bool IsHeadingAt(const QPoint& position) const;
    void RaiseWriteRequest();
    // Hides the rows the filter leaves out, and the headings left without rows.
    void ApplyFilter();
    void PlaceFilterField();
    // The nearest shown row from row on in the direction step (+1 or -1),
    // row itself included; -1 when there is none.
    int ShownRowFrom(int row, int step) const;
    // As ShownRowFrom, for the keys that move the selection: while the
    // filter narrows the list, its disabled rows are passed by too.
    int StopRowFrom(int row, int step) const;
    bool IsFiltering() const;

    std::shared_ptr<CCardInterface> m_card;
    bool m_grouped = true;
    CListStepper* m_stepper = nullptr;
    int m_currentParameter = -1;
    bool m_writeRequest = false;
    int m_editedParameter = -1;
    CParEdit m_editors;
    QRect m_cellRect;
    bool m_forceText = false;
    bool m_adjustMode = false;

    QLineEdit* m_filterField = nullptr;
    QString m_filterText;
    // Says so when the filter finds no row.
    QLabel* m_noMatch = nullptr;

    // The items of the rows in row order, and of the group headings.
    std::vector<QTreeWidgetItem*> m_rows;
    std::vector<QTreeWidgetItem*> m_groups;
};
