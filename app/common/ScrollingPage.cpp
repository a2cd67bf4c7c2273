#include "app/common/ScrollingPage.h"

#include <QLayout>
#include <QScrollArea>
#include <QVBoxLayout>

QScrollArea *ScrollingPage::wrapContents(QWidget *page)
{
    auto *contents = new QWidget;
    contents->setObjectName(page->objectName() + QStringLiteral("_contents"));
    // Taking the layout over moves every control it holds along with it.
    if (QLayout *layout = page->layout())
        contents->setLayout(layout);
    // Controls placed by position rather than by the layout follow too.
    for (QWidget *child : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const bool hidden = child->isHidden();
        child->setParent(contents);
        child->setVisible(!hidden);
    }

    auto *area = new QScrollArea(page);
    area->setObjectName(page->objectName() + QStringLiteral("_scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(contents);

    auto *fill = new QVBoxLayout(page);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(area);
    return area;
}
