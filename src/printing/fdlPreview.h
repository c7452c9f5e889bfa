#pragma once

#include <QDialog>
#include <QImage>

class QAction;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QScrollBar;

// The page of the preview: shows the picture the report routine drew.
class PreviewBox : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};

// The print preview of the report gRptKind (1 transfer request, 2 daily report) at full size: scrolling over
// the page, moving between pages, margins, printing the page or (through the print dialog) pages and copies,
// and saving every page as a PDF. The report routines draw the page exactly as on paper.
class fdlPreview : public QDialog
{
    Q_OBJECT

public:
    explicit fdlPreview(QWidget *parent = nullptr);

    // Redraws the current page.
    void PrintPreview();
    // Enables the navigation for the page box and the page count.
    void SetTbrBtn();
    // Prints the current page on the report printer.
    void PrintPage();
    // Writes every page of the report to a PDF file; false when there was nothing to write or it failed.
    bool SaveAsPdf(const QString &path);
    // Navigation: 0 first, 1 previous, 2 next, 3 last.
    void Move(int where);

    int currentPage() const { return m_page; }
    double scrollX() const { return m_x; }
    double scrollY() const { return m_y; }

    QPushButton *Command1[7];
    QLineEdit *txtPAGE;
    QLabel *Label1;
    QLineEdit *txtPAGES;
    PreviewBox *pctPreview;
    QScrollBar *HScrl;
    QScrollBar *VScrl;
    QMenuBar *menuBar;
    QAction *mnuSET_MGN;
    QAction *mnuPRINT;
    QAction *mnuSAVE_PDF;
    // The transfer request's closing also gives the bank's transfer file and the producers' statements.
    QAction *mnuZENGIN;
    QAction *mnuSTATEMENT;
    QAction *mnuCLOSE;
    QAction *mnuMOVE[4];

signals:
    // 振込データ作成 and 支払明細書 for the closing of the previewed transfer request; whoever opened the
    // preview shows the screens that make them.
    void transferDataRequested(double closingDate);
    void statementsRequested(double closingDate);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layOut();
    void openMargins(bool redraw);

    QWidget *m_client;
    double m_x = 0;
    double m_y = 0;
    int m_page = 1;
};
