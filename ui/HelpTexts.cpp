#include "ui/HelpTexts.h"

namespace lumivane {
namespace {

// The main configuration dialog.
constexpr HelpText MAIN_TEXTS[] = {
    {{1117}, // help button 1117
     "Click controls with the ? cursor for   \n"
     "a brief explanation of each.  (You must   \n"
     "click twice on listboxes.)   "},
    {{1}, // "OK"
     "Exit, saving your changes   "},
    {{2}, // "Cancel"
     "Exit, without making any changes (even  \n"
     "to patterns you saved or deleted).   "},
    {{1007}, // "Background"
     "Set colour of background (dark colours are usually  \n"
     "best).  There are three extra buttons which allow   \n"
     "you to choose whether a random colour will be used,   \n"
     "or whether the colours will slowly change.  If you   \n"
     "choose one of these options, the 'brightness' of the   \n"
     "background will be the same as the selected colour,   \n"
     "even though the selected colour itself does not   \n"
     "matter.   \n"
     "   \n"
     "(This also means that if the selected colour is   \n"
     "black, white, or a shade of grey, the 'Random' and   \n"
     "'Changing' options have no effect.)  "},
    {{1094}, // "Bottom"
     "Edit bottom layer of shapes in detail  "},
    {{1096}, // "Middle"
     "Edit middle layer of shapes in detail  "},
    {{1098}, // "Top"
     "Edit top layer of shapes in detail  "},
    {{1095, 1097, 1099}, // the three layer amount sliders
     "Select density of this layer (set to   \n"
     "zero if layer is not wanted)   "},
    {{1108}, // "Balance" slider
     "Tilt image clockwise or anticlockwise.   \n"
     "(No effect if 3-Mirror option is selected)  "},
    {{1028}, // "Rotation" slider
     "Select rotation speed of kaleidoscope   \n"
     "(this affects how fast the pattern changes)  \n"},
    {{1106}, // "Size" slider
     "Select overall size of screen image.   \n"
     "Except in the 3-Mirror option, this   \n"
     "also determines whether the screen is   \n"
     "completely filled."},
    {{1104}, // "Speed" slider
     "Select how often the image is updated   \n"
     "(usually best left at maximum).  If you   \n"
     "have a fast PC and the images appear to   \n"
     "move too rapidly, slow them down by   \n"
     "reducing the Rotation and Animation   \n"
     "sliders instead."},
    {{1029}, // "Animation Level" slider
     "Affects how fast the images tend to   \n"
     "twirl around, change size, etc.   "},
    {{1105}, // "Randomise"
     "Generate a random pattern (all layers   \n"
     "are randomised too).  It's a great way   \n"
     "to experiment with the range of options   \n"
     "offered by Lumivane!"},
    {{1112}, // screen shape list
     "Select overall shape of kaleidoscope    \n"
     "image on screen.   "},
    {{1109}, // pattern list
     "This is a list of patterns currently available.   \n"
     "Just select one to use it.  The 'Banks' button   \n"
     "allows you access extra patterns.   \n"
     "   \n"
     "Note: if there are more patterns than will fit   \n"
     "in the list box, you can scroll them by holding   \n"
     "down the mouse button."},
    {{1115}, // "Preferences"
     "Change system options.   "},
    {{1000, 1101, 1100}, // symmetry box, "<<", ">>"
     "Adjust the symmetry of the pattern (allowed   \n"
     "values are 3 - 20).  No effect when Three   \n"
     "Mirror screen option is selected   "},
    {{1121}, // "Save"
     "Save the current pattern.  You will be   \n"
     "asked to choose a name for it.  Saving   \n"
     "is not permanent until you quit the   \n"
     "main dialog with 'OK'"},
    {{1122}, // "Delete"
     "Delete the current pattern.  This change, like   \n"
     "all those (with the exception of Pattern Banks)   \n"
     "is not permanent until you quit the main dialog   \n"
     "with 'OK'"},
    {{1123}, // "Use Current"
     "When running in full-screen mode, the   \n"
     "screensaver will always use the current   \n"
     "pattern.   "},
    {{1124}, // "Use Random"
     "When running in full-screen mode, the   \n"
     "screensaver will choose a random pattern   \n"
     "from the list whenever it is time for a   \n"
     "reset."},
    {{1125}, // "Auto-Generate"
     "When running in full-screen mode, the   \n"
     "screensaver will generate new patterns   \n"
     "at random.  The patterns in the list   \n"
     "will be ignored.  Your current settings   \n"
     "for Screen Options etc. will be used."},
    {{1127}, // "Cycle"
     "When running in full-screen mode, the   \n"
     "screensaver will select each of the   \n"
     "stored patterns in sequence, starting   \n"
     "at a random point.  When it gets to the   \n"
     "last pattern, it will start again with   \n"
     "the first.  \n"},
    {{1126}, // reset time box
     "Time in seconds between resets.  On resetting,   \n"
     "the program will generate a new pattern based   \n"
     "on the current settings.  Note that an   \n"
     "individual reset time is saved with every   \n"
     "pattern, so if you want to use random patterns   \n"
     "from the list, be sure to set this before you   \n"
     "quit."},
    {{1129}, // "Dark Borders"
     "If this is set, the borders of shapes will  \n"
     "take on the same colour as the background.   \n"
     "Otherwise they will be a darker version of   \n"
     "the shape colour.  Shapes without borders   \n"
     "(see Layer editor) are not affected."},
    {{1144}, // "Banks"
     "Load a bank of patterns into the current   \n"
     "set, or save out a bank of patterns.   "},
};

// The layer editor, by the ids of slots 1, 2 and 3.
constexpr HelpText LAYER_TEXTS[] = {
    {{1117}, // help button
     "Click controls with ? cursor for    \n"
     "a brief explanation of each"},
    {{1105}, // "Randomise"
     "Generate a random pattern    "},
    {{1051, 1073, 1089}, // "Colour" buttons
     "Choose a colour for this shape (only    \n"
     "matters if 'Const' box ticked"},
    {{1045, 1071, 1087}, // shape lists
     "Choose what shape you want    \n"
     "(Shape %1 of 3 shapes in this layer)"},
    {{1046, 1072, 1088}, // ratio sliders
     "Choose relative proportion of this shape    \n"
     "in the layer (total density is always constant    \n"
     "in this dialog)"},
    {{1059, 1075, 1091}, // animate sliders
     "Choose how much shape moves around independently    "},
    {{1047, 1074, 1090}, // size sliders
     "Choose size ( Up = Larger )    "},
    {{1056, 1068, 1084}, // angle "Const"
     "This shape will not rotate independently    "},
    {{1057, 1069, 1085}, // angle "Rotate"
     "This shape will rotate smoothly about its axis    "},
    {{1058, 1070, 1086}, // angle "Twirl"
     "This shape will twirl around occasionally    "},
    {{1060, 1076, 1092}, // "Border"
     "Select whether this shape is outlined with    \n"
     "a dark border"},
    {{1052, 1064, 1080}, // colour "Const"
     "Shape %1 will use the selected colour    "},
    {{1053, 1065, 1081}, // colour "Mix"
     "Shape %1 will come in a mixture of colours    "},
    {{1054, 1066, 1082}, // colour "Vary"
     "Shape %1 will randomly select a new colour    \n"
     "from time to time"},
    {{1055, 1067, 1083}, // colour "Change"
     "Colour of shape %1 will change constantly    "},
    {{1048, 1061, 1077}, // size "Const"
     "Shape %1 will come in just one size    \n"
     "(depending on slider position)"},
    {{1049, 1062, 1078}, // size "Mix"
     "Shape %1 will come in a mixture of sizes    \n"
     "(average based on slider position)"},
    {{1050, 1063, 1079}, // size "Change"
     "Shape %1 will grow and shrink occasionally    "},
};

// The pattern banks dialog.
constexpr HelpText BANK_TEXTS[] = {
    {{1135}, // "Copy Current"
     "Copy the current selected pattern into bank    "},
    {{1136}, // "Copy All "
     "Copy all of the current pattern set into bank    "},
    {{1145}, // "Delete All "
     "Delete all patterns in the bank    "},
    {{1137}, // "Delete Current"
     "Delete the current selected pattern in the bank    "},
    {{1143}, // "Save Bank"
     "Save the patterns in the bank to disk    "},
    {{1142}, // "Load Bank"
     "Load a saved bank (*.pat file)    "},
    {{1139}, // "Add Bank"
     "Add the patterns in the bank to the end    \n"
     "of the current pattern set, even if they are    \n"
     "duplicates of ones already present"},
    {{1140}, // "Merge Bank"
     "Merge the bank into the current pattern set.    \n"
     "Patterns with the same name as one already    \n"
     "present will be ignored"},
    {{1141}, // "Replace By Bank"
     "Replace the current pattern set with the    \n"
     "contents of the bank.  Warning - Patterns    \n"
     "in the current set will be lost!  If you do this    \n"
     "by mistake, quit the dialog with 'Cancel'"},
    {{1133}, // set list, drop-down closed
     "Select a pattern from the current pattern    \n"
     "set.  It will appear in the window above"},
    {{1134}, // bank list, drop-down closed
     "Select a pattern from the bank.  It will    \n"
     "appear in the window above"},
    {{1148}, // animate box of the set preview
     "When checked, this window will animate    "},
    {{1149}, // animate box of the bank preview
     "When checked, this window will animate.  However,    \n"
     "it may run slowly or stop if the other window    \n"
     "is animated too."},
    {{1117}, // quick help
     "Click controls with ? cursor for a    \n"
     "brief explanation of each"},
};

} // namespace

const std::span<const HelpText> MAIN_DIALOG_HELP{MAIN_TEXTS};
const std::span<const HelpText> LAYER_DIALOG_HELP{LAYER_TEXTS};
const std::span<const HelpText> BANK_DIALOG_HELP{BANK_TEXTS};

QString helpTextIn(std::span<const HelpText> table, int id) {
    if (id == 0)
        return {};
    for (const HelpText& entry : table) {
        for (int slot = 0; slot < SLOTS_PER_LAYER; ++slot) {
            if (entry.ids[slot] != id)
                continue;
            const QString text = QString::fromLatin1(entry.text);
            return text.contains(QLatin1String("%1")) ? text.arg(slot + 1) : text;
        }
    }
    return {};
}

} // namespace lumivane
