#pragma once
// The palette: every tile code with its picture and name, grouped, with a search box.
#include "editor/Pictures.h"

#include <FL/Fl_Group.H>

#include <functional>
#include <memory>
#include <vector>

class Fl_Input;
class Fl_Box;
class Fl_Scroll;
class Fl_RGB_Image;

namespace zorbo::editor {

class PaletteView : public Fl_Group {
public:
    PaletteView(int x, int y, int w, int h, const Pictures& pictures);
    ~PaletteView() override;

    void SetCode(int32_t code);
    int32_t Code() const { return code_; }
    // The code under the mouse, -1 when none.
    int32_t HoverCode() const { return hover_; }

    std::function<void(int32_t code)> onChoose;
    std::function<void()> onHover;

    static constexpr int kPicture = 32; // tile pictures at 2x

private:
    class List;
    friend class List;
    void Filter();
    void ShowCurrent();

    int32_t code_ = Tile::GroundTop;
    int32_t hover_ = -1;
    std::vector<std::unique_ptr<Fl_RGB_Image>> images_;
    std::vector<std::vector<uint8_t>> pixels_;
    Fl_Input* search_;
    Fl_Box* current_;
    Fl_Scroll* scroll_;
    List* list_;
    std::string currentLabel_;
};

} // namespace zorbo::editor
