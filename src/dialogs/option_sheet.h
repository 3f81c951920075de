#pragma once

#include "dialogs/option_values.h"

#include <QDialog>

class COptionCheckPage;
class COptionEditPage;
class COptionFilePage;
class COptionFontPage;
class COptionTagPage;
class QTabWidget;

// The options sheet "Marquill 一般設定": five pages (ファイル, タグ, エディタ,
// フォント, チェック) over the "Options" and "Font" settings. It reads every value once
// when it is built and writes every value back on OK; Cancel writes nothing.
class COptionSheet : public QDialog
{
    Q_OBJECT

public:
    explicit COptionSheet(QWidget* parent = nullptr);

    // The values as the pages hold them now.
    OptionValues values() const;

    void accept() override;

private:
    QTabWidget* m_tabs;
    COptionFilePage* m_filePage;
    COptionTagPage* m_tagPage;
    COptionEditPage* m_editPage;
    COptionFontPage* m_fontPage;
    COptionCheckPage* m_checkPage;
    OptionValues m_values;
};
