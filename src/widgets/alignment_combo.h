#pragma once

class QComboBox;
class QWidget;

// The drop-down list "配置" of the heading and rule dialogs: "指定しない",
// "左揃え", "中揃え", "右揃え" (indices 0 to 3).
QComboBox* createAlignmentCombo(QWidget* parent);
