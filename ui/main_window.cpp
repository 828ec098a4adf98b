#include "ui/main_window.h"

#include "system/constants.h"
#include "ui/gui.h"
#include "ui/startup_seam.h"

namespace {

struct ControlPlace {
    ControlKind kind;
    int number;
    int x;
    int y;
    int width;
    int height;
    const wchar_t* text;
};

ControlPlace TaskLabel(int task) {
    return {ControlKind::Label,   kFirstTaskLabel + task,
            kTaskLabelX,          kTaskLabelFirstY + kTaskRowPitch * task,
            kTaskLabelWidth,      kTaskLabelHeight,
            kTaskLabelTexts[task]};
}

ControlPlace TaskField(int task) {
    return {ControlKind::ValueField, kFirstTaskField + task,
            kFieldX,                 kTaskFieldFirstY + kTaskRowPitch * task,
            kFieldWidth,             kFieldHeight,
            kFieldPlaceholder};
}

ControlPlace RowLabel(int number, int fieldY, const wchar_t* text) {
    return {ControlKind::Label, number, kStatisticLabelX, fieldY + kLabelBelowField,
            kStatisticLabelWidth, kStatisticLabelHeight, text};
}

ControlPlace RowField(int number, int fieldY, const wchar_t* text) {
    return {ControlKind::ValueField, number, kFieldX, fieldY, kFieldWidth, kFieldHeight, text};
}

ControlPlace Button(int number, int x, const wchar_t* text) {
    return {ControlKind::Button, number, x, kButtonY, kButtonWidth, kButtonHeight, text};
}

bool Add(const ControlPlace& place) {
    return g_startupSeam.AddControl(place.kind, place.number, place.x, place.y, place.width,
                                    place.height, place.text);
}

bool AddTaskRows() {
    for (int task = 0; task < kTasksPerRun; ++task) {
        if (!Add(TaskLabel(task))) {
            return false;
        }
    }
    for (int task = 0; task < kTasksPerRun; ++task) {
        if (!Add(TaskField(task))) {
            return false;
        }
    }
    return true;
}

bool AddSummaryRows() {
    const ControlPlace places[] = {
        RowLabel(kMinimumLabel, kMinimumFieldY, kMinimumLabelText),
        RowField(kMinimumField, kMinimumFieldY, kFieldPlaceholder),
        RowLabel(kMaximumLabel, kMaximumFieldY, kMaximumLabelText),
        RowField(kMaximumField, kMaximumFieldY, kFieldPlaceholder),
        RowLabel(kAverageLabel, kAverageFieldY, kAverageLabelText),
        RowField(kAverageField, kAverageFieldY, kFieldPlaceholder),
        RowLabel(kReferenceLabel, kReferenceFieldY, kReferenceName),
        RowField(kReferenceField, kReferenceFieldY, kReferenceFigure),
        Button(kStartButton, kStartButtonX, kStartText),
        Button(kDonateButton, kDonateButtonX, kDonateText),
    };
    for (const ControlPlace& place : places) {
        if (!Add(place)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool OpenMainWindow() {
    if (!g_startupSeam.OpenProgramWindow(kMainWindow, kMainWindowX, kMainWindowY,
                                         kMainClientWidth, kMainClientHeight, kMainTitle)) {
        return false;
    }
    if (!AddTaskRows()) {
        return false;
    }
    g_startupSeam.PumpEvents();
    if (!AddSummaryRows()) {
        return false;
    }
    g_startupSeam.PumpEvents();
    return true;
}
