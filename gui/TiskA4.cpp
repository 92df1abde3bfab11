#include "gui/TiskA4.h"

#include "gui/MessageBox.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTableWidget>
#include <QTextDocument>

namespace TiskA4 {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("TiskA4", text);
}

QFont pismo(qreal body)
{
    QFont f = QGuiApplication::font();
    f.setPointSizeF(body);
    return f;
}

qreal vyskaPaticky(QPrinter &printer)
{
    return 2 * QFontMetricsF(pismo(8), &printer).height();
}
} // namespace

void priprav(QPrinter &printer, QPageLayout::Orientation orientace)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(orientace);
    printer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
}

std::unique_ptr<QTextDocument> dokument(QPrinter &printer, const QString &html)
{
    auto doc = std::make_unique<QTextDocument>();
    // Laid out for the printer, so fonts and lengths are the printer's.
    doc->documentLayout()->setPaintDevice(&printer);
    doc->setDefaultFont(pismo(9));
    doc->setDocumentMargin(0);
    doc->setHtml(html);
    const QRectF stranka = printer.pageLayout().paintRectPixels(printer.resolution());
    doc->setPageSize(QSizeF(stranka.width(), stranka.height() - vyskaPaticky(printer)));
    return doc;
}

int tiskni(QPrinter &printer, const QString &html, const QString &paticka)
{
    const std::unique_ptr<QTextDocument> doc = dokument(printer, html);
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const QSizeF telo = doc->pageSize();
    const int stran = doc->pageCount();
    const QString vytisteno = tr("Vytištěno %1").arg(QLocale(QLocale::Czech, QLocale::CzechRepublic)
                                                         .toString(QDateTime::currentDateTime(),
                                                                   QStringLiteral("d. M. yyyy H:mm")));
    for (int strana = 0; strana < stran; ++strana) {
        if (strana > 0)
            printer.newPage();
        // The page's slice of the long document, as QTextDocument::print draws it.
        painter.save();
        painter.translate(0, -strana * telo.height());
        const QRectF vyrez(0, strana * telo.height(), telo.width(), telo.height());
        painter.setClipRect(vyrez);
        QAbstractTextDocumentLayout::PaintContext kontext;
        kontext.clip = vyrez;
        kontext.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&painter, kontext);
        painter.restore();

        painter.setFont(pismo(8));
        painter.setPen(Qt::black);
        const QRectF radekPaticky(0, telo.height(), telo.width(), vyskaPaticky(printer));
        painter.drawText(radekPaticky, Qt::AlignLeft | Qt::AlignBottom, vytisteno);
        painter.drawText(radekPaticky, Qt::AlignHCenter | Qt::AlignBottom, paticka);
        painter.drawText(radekPaticky, Qt::AlignRight | Qt::AlignBottom,
                         tr("strana %1 z %2").arg(strana + 1).arg(stran));
    }
    painter.end();
    return stran;
}

int ulozPdf(QWidget *okno, const QString &soubor, const QString &html, QPageLayout::Orientation orientace,
            const QString &paticka)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(soubor);
    printer.setDocName(okno ? okno->windowTitle() : QString());
    priprav(printer, orientace);
    const int stran = tiskni(printer, html, paticka);
    if (stran == 0)
        MessageBox::chyba(okno, tr("Soubor %1 se nepodařilo zapsat.").arg(QDir::toNativeSeparators(soubor)));
    return stran;
}

void nahled(QWidget *okno, const QString &titulek, const QString &html, QPageLayout::Orientation orientace,
            const QString &paticka)
{
    QPrinter printer(QPrinter::HighResolution);
    priprav(printer, orientace);
    QPrintPreviewDialog nahled(&printer, okno);
    nahled.setWindowTitle(titulek);
    QObject::connect(&nahled, &QPrintPreviewDialog::paintRequested, &nahled, [&](QPrinter *p) { tiskni(*p, html, paticka); });
    nahled.exec();
}

QString tabulka(const QTableWidget *table)
{
    // The widget's own model holds its rows in the order they are shown.
    return tabulka(table->model());
}

QString tabulka(const QAbstractItemModel *model)
{
    QString h = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><thead><tr>");
    for (int sloupec = 0; sloupec < model->columnCount(); ++sloupec)
        h += QStringLiteral("<th>%1</th>").arg(model->headerData(sloupec, Qt::Horizontal).toString().toHtmlEscaped());
    h += QStringLiteral("</tr></thead><tbody>");
    for (int radek = 0; radek < model->rowCount(); ++radek) {
        h += QStringLiteral("<tr>");
        for (int sloupec = 0; sloupec < model->columnCount(); ++sloupec)
            h += QStringLiteral("<td>") + model->index(radek, sloupec).data().toString().toHtmlEscaped()
                 + QStringLiteral("</td>");
        h += QStringLiteral("</tr>");
    }
    return h + QStringLiteral("</tbody></table>");
}

} // namespace TiskA4
