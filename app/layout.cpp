// Window layout that the .ui file cannot express: grid columns and cells, edit
// validators and the drawn pictures.

#include "TDual.h"

#include <QApplication>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>

#include <functional>
#include <optional>

#include "partitions/clientcodes.h"
#include "pictures.h"

namespace {

const QColor SkyBlue(0xA6, 0xCA, 0xF0);

constexpr int ParamFirstRowHeight = 25;
constexpr int ParamRowHeight = 24;
constexpr int DataGridHeaderHeight = 25;
constexpr int DataGridRowHeight = 20;

// Check boxes drawn and toggled in the middle of their cells (the item view puts them
// at the left edge). A press is left to the view so that the row gets selected too.
class CentredCheckDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const bool hasCheck = cell.features & QStyleOptionViewItem::HasCheckIndicator;
        cell.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        QStyle* style = StyleOf(option);
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, option.widget);
        if (!hasCheck)
            return;
        QStyleOptionViewItem check = option;
        check.rect = CheckRect(option);
        check.state &= ~QStyle::State_HasFocus;
        check.state |= cell.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, option.widget);
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
        const QModelIndex& index) override
    {
        const Qt::ItemFlags flags = model->flags(index);
        const QVariant state = index.data(Qt::CheckStateRole);
        if (!(flags & Qt::ItemIsUserCheckable) || !(flags & Qt::ItemIsEnabled) || !state.isValid())
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton
                || !CheckRect(option).contains(mouse->position().toPoint()))
                return false;
            if (event->type() == QEvent::MouseButtonDblClick)
                return true; // the release after it toggles, as with a single click
            break;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Space && key != Qt::Key_Select)
                return false;
            break;
        }
        default: return false;
        }
        const Qt::CheckState next = state.toInt() == Qt::Checked ? Qt::Unchecked : Qt::Checked;
        return model->setData(index, next, Qt::CheckStateRole);
    }

private:
    static QStyle* StyleOf(const QStyleOptionViewItem& option)
    {
        return option.widget ? option.widget->style() : QApplication::style();
    }

    static QRect CheckRect(const QStyleOptionViewItem& option)
    {
        const QStyle* style = StyleOf(option);
        const QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget),
            style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget));
        return QStyle::alignedRect(option.direction, Qt::AlignCenter, size, option.rect);
    }
};

// What a grid asks of its cell editors beyond the length and the range.
struct EditHooks {
    QObject* keys = nullptr; // sees the editor's key presses before the editor does
    std::function<bool(const QModelIndex&)> mayEdit;
    std::function<QString(const QString&)> clean; // the text an edit leaves in the cell
};

// In-place editor of a text or number cell: centred, with a length limit and, for
// number cells, a range. Whatever the editor lets through (a paste, say), the cell gets
// only what the grid accepts, and an editor closed without a change leaves the cell as it
// was.
class CellEditDelegate : public QStyledItemDelegate {
public:
    struct Range {
        int minimum;
        int maximum;
    };
    CellEditDelegate(
        int maxLength, std::optional<Range> range, QObject* parent, EditHooks hooks = {})
        : QStyledItemDelegate(parent)
        , maxLength_(maxLength)
        , range_(range)
        , hooks_(std::move(hooks))
    {
    }

    QWidget* createEditor(
        QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        if (hooks_.mayEdit && !hooks_.mayEdit(index))
            return nullptr;
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setAlignment(Qt::AlignCenter);
        editor->setMaxLength(maxLength_);
        editor->setContextMenuPolicy(Qt::NoContextMenu);
        editor->setAcceptDrops(false);
        if (range_)
            editor->setValidator(new QIntValidator(range_->minimum, range_->maximum, editor));
        return editor;
    }

    void setModelData(
        QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const auto* edit = qobject_cast<QLineEdit*>(editor);
        if (!edit) {
            QStyledItemDelegate::setModelData(editor, model, index);
            return;
        }
        if (!edit->isModified())
            return;
        QString text = edit->text();
        if (range_) {
            bool number = false;
            const int value = text.toInt(&number);
            if (!number || value < range_->minimum || value > range_->maximum)
                return;
            text = QString::number(value);
        }
        if (hooks_.clean)
            text = hooks_.clean(text);
        model->setData(index, text, Qt::EditRole);
    }

protected:
    bool eventFilter(QObject* editor, QEvent* event) override
    {
        if (hooks_.keys && event->type() == QEvent::KeyPress
            && hooks_.keys->eventFilter(editor, event))
            return true;
        return QStyledItemDelegate::eventFilter(editor, event);
    }

private:
    int maxLength_;
    std::optional<Range> range_;
    EditHooks hooks_;
};

QTableWidgetItem* NewCell(Qt::ItemFlags flags, Qt::Alignment alignment)
{
    auto* cell = new QTableWidgetItem;
    cell->setFlags(flags);
    cell->setTextAlignment(alignment);
    if (flags & Qt::ItemIsUserCheckable)
        cell->setCheckState(Qt::Unchecked);
    return cell;
}

void FixRowHeights(QTableWidget* grid, int height)
{
    QHeaderView* rows = grid->verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(height);
}

// Two-column read-only grid: captions on a sky-blue column 0, values on white.
void SetupReadingGrid(QTableWidget* grid, int rows, int firstWidth, int secondWidth)
{
    grid->setColumnCount(2);
    grid->setRowCount(rows);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setColumnWidth(0, firstWidth);
    grid->setColumnWidth(1, secondWidth);
    FixRowHeights(grid, ParamRowHeight);
    grid->setRowHeight(0, ParamFirstRowHeight);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    for (int row = 0; row < rows; ++row) {
        QTableWidgetItem* caption = NewCell(Qt::ItemIsEnabled, left);
        caption->setBackground(SkyBlue);
        grid->setItem(row, 0, caption);
        grid->setItem(row, 1, NewCell(Qt::ItemIsEnabled, left));
    }
}

struct DataColumn {
    QString header;
    int width;
    Qt::ItemFlags flags;
};

// Grid with a header row, all cells centred; check-box columns are user-checkable only.
void SetupDataGrid(QTableWidget* grid, int rows, const QList<DataColumn>& columns)
{
    grid->setColumnCount(int(columns.size()));
    grid->setRowCount(rows);
    grid->verticalHeader()->hide();
    QHeaderView* header = grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setHighlightSections(false);
    header->setFixedHeight(DataGridHeaderHeight);
    FixRowHeights(grid, DataGridRowHeight);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList headers;
    for (int column = 0; column < columns.size(); ++column) {
        headers << columns[column].header;
        grid->setColumnWidth(column, columns[column].width);
        if (columns[column].flags & Qt::ItemIsUserCheckable)
            grid->setItemDelegateForColumn(column, new CentredCheckDelegate(grid));
        for (int row = 0; row < rows; ++row)
            grid->setItem(row, column, NewCell(columns[column].flags, Qt::AlignCenter));
    }
    grid->setHorizontalHeaderLabels(headers);
}

void DigitsOnly(QLineEdit* edit, int digits)
{
    // Every position of the mask is an optional digit, so empty text is allowed too.
    const QRegularExpression pattern(QStringLiteral("\\d{0,%1}").arg(digits));
    edit->setValidator(new QRegularExpressionValidator(pattern, edit));
}

} // namespace

void TDual::SetupLayout()
{
    // The window's fonts come from another desktop; where they are missing, prefer
    // look-alikes of similar width so that captions fit their bounds.
    QFont::insertSubstitutions(QStringLiteral("Calibri"),
        { QStringLiteral("Carlito"), QStringLiteral("DejaVu Sans Condensed") });
    QFont::insertSubstitutions(QStringLiteral("Microsoft JhengHei UI"),
        { QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans Condensed") });
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
        { QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans") });

    const Qt::ItemFlags shown = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const Qt::ItemFlags editable = shown | Qt::ItemIsEditable;
    const Qt::ItemFlags checkable = shown | Qt::ItemIsUserCheckable;

    SetupReadingGrid(Param, 9, 150, 184);
    SetupReadingGrid(Diag, 16, 210, 210);

    SetupDataGrid(part_cliente, 9,
        { { QStringLiteral("Partição"), 70, shown },
            { QStringLiteral("Código Cliente"), 120, editable },
            { QStringLiteral("Eventos Rádio"), 108, checkable } });
    // Code cells: the key filter sees every key typed in the editor; in the basic format
    // only partition 0 opens one.
    EditHooks codeHooks;
    codeHooks.keys = this;
    codeHooks.mayEdit = [this](const QModelIndex& index) {
        return partitions::CodeRowTypeable(index.row(), Tipo_Comunic->isEnabled());
    };
    codeHooks.clean = partitions::TypedCode;
    part_cliente->setItemDelegateForColumn(
        1, new CellEditDelegate(partitions::CodeLength, std::nullopt, part_cliente, codeHooks));

    SetupDataGrid(EvtNmonit, 2,
        { { QStringLiteral("Pino"), 70, shown }, { QStringLiteral("Evento"), 120, editable },
            { QStringLiteral("Inverte E e R"), 108, checkable } });
    EvtNmonit->setItemDelegateForColumn(
        1, new CellEditDelegate(3, CellEditDelegate::Range { 100, 999 }, EvtNmonit));

    DigitsOnly(TID, 4);
    DigitsOnly(TSenha, 9);
    DigitsOnly(ASenha, 9);
    DigitsOnly(tbypass, 2);
    for (QLineEdit* serial : { ID0, ID1, ID2, ID3 })
        DigitsOnly(serial, 3);

    ImRadioMonit->setAlignment(Qt::AlignCenter);
    ImRadioMonit->setPixmap(RadioInputsPicture());
    Ondavia460->setAlignment(Qt::AlignCenter);
    Ondavia460->setPixmap(TransceiverPicture());
}
