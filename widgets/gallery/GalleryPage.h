#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

// A page of the gallery. Any source file of the gallery adds its own pages
// with a file-level GalleryPageRegistrar; the window shows them by order.
struct GalleryPage {
    QString title;
    int order = 0;
    std::function<QWidget *()> make;
};

std::vector<GalleryPage> &GalleryPages();

struct GalleryPageRegistrar {
    GalleryPageRegistrar(const QString &title, int order, std::function<QWidget *()> make)
    {
        GalleryPages().push_back({title, order, std::move(make)});
    }
};
