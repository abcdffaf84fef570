#include "view/PointEditor.h"

#include "geometry/ViewTransform.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>

namespace {

QDoubleSpinBox *coordinateBox(QWidget *parent, const char *name, double value, int decimals)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setDecimals(decimals);
    box->setRange(-ViewTransform::reach, ViewTransform::reach);
    box->setSingleStep(0.1);
    box->setValue(value);
    return box;
}

} // namespace

PointEditor::PointEditor(QWidget *parent, std::size_t index, const Vector &position, int decimals)
    : QDialog(parent), pointIndex(index), opened(position)
{
    setObjectName("pointEditor");
    setWindowTitle(tr("Control Point %1").arg(index + 1));
    auto *form = new QFormLayout(this);
    x = coordinateBox(this, "pointXSpinBox", position.x(), decimals);
    y = coordinateBox(this, "pointYSpinBox", position.y(), decimals);
    form->addRow(tr("x"), x);
    form->addRow(tr("y"), y);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The box rounds what it shows: remember that, so that an untouched
    // coordinate is not replaced by its rounding.
    shownX = x->value();
    shownY = y->value();
    x->selectAll();
}

Vector PointEditor::position() const
{
    return {x->value() == shownX ? opened.x() : x->value(), y->value() == shownY ? opened.y() : y->value(), 0.0};
}
