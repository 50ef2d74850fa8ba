#include "DriverWindows.h"

namespace docrecover::e2e {

// The ids the main window documents for its controls, in the order the layout check prints them
// (top to bottom, as the window is drawn).
const std::vector<Control> kControls = {
    {L"Text4", 111}, {L"picMain", 105},     {L"txtSubTitle", 103},
    {L"Text2", 104}, {L"Text1", 112},       {L"txtMessage", 101},
    {L"Text3", 113}, {L"txtMessage2", 102}, {L"cmdCancel", 2},
};
const int kCancelId = 2;

}  // namespace docrecover::e2e
