#pragma once

// Printing a window's lists on A4, as the day's arrivals and departures
// print: an HTML document laid out for the printer, a footer with the time
// of printing and the page number on every page.

#include <QPageLayout>
#include <QString>
#include <memory>

class QAbstractItemModel;
class QPrinter;
class QTableWidget;
class QTextDocument;
class QWidget;

namespace TiskA4 {

/** A4 (portrait unless told) with the desk's margins. */
void priprav(QPrinter &printer, QPageLayout::Orientation orientace = QPageLayout::Portrait);
/** The document laid out for the printer's page less the footer; pageCount() is what tiskni prints. */
std::unique_ptr<QTextDocument> dokument(QPrinter &printer, const QString &html);
/**
 * Prints the document; the pages printed, 0 when the printer could not be
 * opened. paticka goes in the middle of every page's footer (a book's
 * facility).
 */
int tiskni(QPrinter &printer, const QString &html, const QString &paticka = QString());
/** tiskni into a PDF file; 0 pages when it could not be written (a box over okno says so). */
int ulozPdf(QWidget *okno, const QString &soubor, const QString &html,
            QPageLayout::Orientation orientace = QPageLayout::Portrait, const QString &paticka = QString());
/** A print preview of html over okno, titled titulek. */
void nahled(QWidget *okno, const QString &titulek, const QString &html,
            QPageLayout::Orientation orientace = QPageLayout::Portrait, const QString &paticka = QString());
/** The table as shown (in the user's sort order) as an HTML table. */
QString tabulka(const QTableWidget *table);
/** The model's rows and horizontal headers as an HTML table. */
QString tabulka(const QAbstractItemModel *model);

} // namespace TiskA4
