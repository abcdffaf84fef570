#include "GLMainWindow.h"

#include "view/GLBox.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

QGroupBox *GLMainWindow::buildStudyBox(QWidget *frame)
{
    auto *box = new QGroupBox(tr("Study"), frame);
    box->setObjectName("studyBox");
    auto *stack = new QVBoxLayout(box);

    auto *resetViewButton = new QPushButton(tr("Reset View"), box);
    resetViewButton->setObjectName("resetViewButton");
    connect(resetViewButton, &QPushButton::clicked, glbox, &GLBox::resetView);
    stack->addWidget(resetViewButton);
    return box;
}
