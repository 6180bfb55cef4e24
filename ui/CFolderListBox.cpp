#include "ui/CFolderListBox.h"

#include "model/FolderRecord.h"
#include "res/Artwork.h"
#include "ui/ItemColours.h"

#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

namespace {
// Picture at 9 x (level - 1), text right after it at 9 x level + 9: level 1 (the book itself) starts at the left
// edge, each deeper level 9 pixels further right.
class FolderItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const FolderRecord* record = CFolderListBox::RecordOf(index);
        const int level = record ? record->m_nLevel : 1;
        const int textWidth = option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
        return {CFolderListBox::kIndentPerLevel * level + 9 + textWidth + 4, CFolderListBox::kItemHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const FolderRecord* record = CFolderListBox::RecordOf(index);
        if (!record) return;
        const QPalette& pal = option.palette;
        const bool selected = option.state & QStyle::State_Selected;
        const bool disabled = !(option.state & QStyle::State_Enabled);
        const QRect& r = option.rect;
        // Only the text cell of a selected item shows the highlight; the picture keeps the window colour.
        painter->fillRect(r, pal.color(QPalette::Base));
        QColor text = selected ? ItemColours::SelectedText(pal) : ItemColours::ItemText(pal);
        const QColor textBackground = selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base);
        if (disabled) text = pal.color(QPalette::Disabled, QPalette::WindowText);

        const int level = record->m_nLevel;
        const QPixmap picture = Artwork::FolderImage(record->m_nKind, disabled);
        painter->drawPixmap(r.left() + CFolderListBox::kIndentPerLevel * (level - 1), r.top(), picture);

        const QString name = index.data(Qt::DisplayRole).toString();
        const QFontMetrics metrics(option.font);
        const QRect cell(r.left() + CFolderListBox::kIndentPerLevel * level + 9, r.top() + 2,
                         metrics.horizontalAdvance(name), metrics.height());
        painter->save();
        painter->setFont(option.font);
        painter->fillRect(cell, textBackground); // opaque text background
        painter->setPen(text);
        painter->drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, name);
        painter->restore();
    }
};
}

CFolderListBox::CFolderListBox(QWidget* parent) : QListView(parent), m_pOwnModel(new QStandardItemModel(this))
{
    setModel(m_pOwnModel);
    setItemDelegate(new FolderItemDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void CFolderListBox::AddFolder(const QString& name, const FolderRecord* record)
{
    auto* item = new QStandardItem(name);
    item->setData(QVariant::fromValue(reinterpret_cast<quintptr>(record)), Qt::UserRole);
    item->setEditable(false);
    m_pOwnModel->appendRow(item);
}

int CFolderListBox::Count() const
{
    return model() ? model()->rowCount() : 0;
}

int CFolderListBox::SelectedItem() const
{
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList{};
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CFolderListBox::SelectItem(int item)
{
    if (!model() || item < 0 || item >= model()->rowCount()) return;
    const QModelIndex index = model()->index(item, 0);
    setCurrentIndex(index);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

const FolderRecord* CFolderListBox::RecordOf(const QModelIndex& index)
{
    if (!index.isValid()) return nullptr;
    return reinterpret_cast<const FolderRecord*>(index.data(Qt::UserRole).value<quintptr>());
}
