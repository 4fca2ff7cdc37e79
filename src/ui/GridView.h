#pragma once
// Where a grid model is shown: the widget that places it among the others.

#include "qlmib/ui/GridModel.h"
#include "qlmib/ui/ImageList.h"
#include "qlmib/ui/Widget.h"

namespace qlmib::ui {

class GridView : public Widget {
public:
    GridView(GridModel& model, std::string name = {}) : Widget(WidgetKind::GridView, std::move(name)), model_(model) {}

    GridModel& model() const { return model_; }
    // The pictures that cell picture keys name (none: no pictures).
    const ImageList* getImages() const { return images_; }
    void setImages(const ImageList* images) {
        images_ = images;
        Changed();
    }

private:
    GridModel& model_;
    const ImageList* images_ = nullptr;
};

}  // namespace qlmib::ui
