#include "dialogs/one_point_dlg.h"

#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/tips_reader.h"
#include "widgets/preview_frame.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <climits>

namespace {

// 0: show the tip at start-up, 1: do not.
constexpr IntSetting kStartUp{"Tip", "StartUp", 0};
// Where the next tip is read in the file whose time stamp is kTimeStamp.
constexpr IntSetting kFilePos{"Tip", "FilePos", 0};
constexpr StringSetting kTimeStamp{"Tip", "TimeStamp", ""};

const char* const kNoFile = "ヒントのファイルは指定されたディレクトリに存在しません。";
const char* const kReadFailure = "ヒントのファイル読み込み時の障害です";
const char* const kNoTips = "ヒントのファイルにヒントがありません。";

// The time the file was last written: a new or edited tips file starts again
// from its first tip.
QString fileStamp(const QFile& file)
{
    return TipsReader::timeStamp(QFileInfo(file).lastModified());
}

// A light bulb, the sign of a useful hint, in a square of side size.
void drawBulb(QPainter& painter, const QRect& square)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = square.width();
    painter.translate(square.topLeft());
    painter.setPen(QPen(QColor(0x80, 0x60, 0x00), s / 24));
    painter.setBrush(QColor(0xFF, 0xE0, 0x40));
    painter.drawEllipse(QRectF(s * 0.22, s * 0.06, s * 0.56, s * 0.56));
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), s / 24));
    painter.setBrush(QColor(0xB0, 0xB0, 0xB0));
    painter.drawRoundedRect(QRectF(s * 0.36, s * 0.62, s * 0.28, s * 0.22), s / 24, s / 24);
    painter.drawLine(QPointF(s * 0.36, s * 0.69), QPointF(s * 0.64, s * 0.69));
    painter.drawLine(QPointF(s * 0.36, s * 0.76), QPointF(s * 0.64, s * 0.76));
    painter.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), s / 16, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(s * 0.32, s * 0.16, s * 0.24, s * 0.24), 100 * 16, 70 * 16);
    painter.restore();
}

} // namespace

COnePointDlg::COnePointDlg(const QString& tipsFile, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OnePointDlg"));
    setWindowTitle(QStringLiteral("ワンポイント"));

    m_panel = new CPreviewFrame(this);
    m_panel->setObjectName(QStringLiteral("tipPanel"));
    m_panel->setFrameStyle(QFrame::NoFrame);
    m_panel->setFixedHeight(44);
    m_panel->setPainter([this](QPainter& p, const QRect& r) { paintPanel(p, r); });

    m_text = new QLabel(QStringLiteral("内容"), this);
    m_text->setObjectName(QStringLiteral("tipText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setMargin(10);
    m_text->setMinimumSize(400, 130);
    m_text->setAutoFillBackground(true);
    QPalette white = m_text->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    m_text->setPalette(white);
    m_text->setFrameStyle(QFrame::Box | QFrame::Plain);

    m_startUpCheck = new QCheckBox(QStringLiteral("起動時にワンポイントを表示(&S)"), this);
    m_startUpCheck->setObjectName(QStringLiteral("startUpCheck"));
    m_next = new QPushButton(QStringLiteral("次を表示(&N)"), this);
    m_next->setObjectName(QStringLiteral("nextButton"));
    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_startUpCheck);
    buttons->addStretch(1);
    buttons->addWidget(m_next);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_panel);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);

    connect(m_next, &QPushButton::clicked, this, [this] {
        readNextTip();
        showTip();
    });
    connect(close, &QPushButton::clicked, this, &COnePointDlg::accept);

    m_startUp = kStartUp.read() == 0;
    m_startUpCheck->setChecked(m_startUp);
    openTips(tipsFile);
    showTip();
}

COnePointDlg::~COnePointDlg()
{
    if (m_file.isOpen())
        kFilePos.write(int(qMin<qint64>(m_file.pos(), INT_MAX)));
}

void COnePointDlg::openTips(const QString& tipsFile)
{
    m_file.setFileName(tipsFile);
    if (tipsFile.isEmpty() || !m_file.open(QIODevice::ReadOnly)) {
        m_tip = QString::fromUtf8(kNoFile);
        m_next->setEnabled(false);
        return;
    }
    qint64 pos = qMax(kFilePos.read(), 0);
    const QString stamp = fileStamp(m_file);
    if (stamp != kTimeStamp.read()) {
        pos = 0;
        kTimeStamp.write(stamp);
    }
    if (!m_file.seek(pos)) {
        UiSeam::messageBox(this, QString::fromUtf8(kReadFailure), QMessageBox::Warning);
        m_tip.clear();
        return;
    }
    readNextTip();
}

void COnePointDlg::readNextTip()
{
    if (!m_file.isOpen())
        return;
    const TipsReader::Tip tip = TipsReader::readNextTip(m_file);
    if (tip.found) {
        m_tip = tip.text;
        return;
    }
    // Reading went round the whole file without finding a tip.
    m_tip = QString::fromUtf8(kNoTips);
    m_next->setEnabled(false);
    m_file.seek(0);
}

void COnePointDlg::showTip()
{
    m_text->setText(m_tip);
}

void COnePointDlg::accept()
{
    m_startUp = m_startUpCheck->isChecked();
    QDialog::accept();
    kStartUp.write(m_startUp ? 0 : 1);
}

void COnePointDlg::paintPanel(QPainter& painter, const QRect& rect)
{
    painter.fillRect(rect, Qt::white);
    const int side = rect.height();
    drawBulb(painter, QRect(rect.left(), rect.top(), side, side));
    QFont font = painter.font();
    font.setPointSizeF(font.pointSizeF() * 1.3);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRect band(rect.left() + side + 6, rect.top(), rect.width() - side - 6, side);
    painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QStringLiteral("便利な使い方..."));
}
