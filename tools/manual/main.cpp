// Builds the user manual: Markdown in, an A4 PDF out, with a title page, a
// table of contents and page numbers, Japanese text in the IPA fonts.
//
//   zarno_manual_tool MANUAL.md PICTURE_DIR OUT.pdf
//
// Pictures named in the Markdown are looked up in PICTURE_DIR (they are made
// by the program at build time). The title page and the contents take two
// sheets together, so that body page n is sheet n + 2 whatever the length of
// the contents: the welcome window sends readers to sheets by number.
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cstdio>

namespace {

constexpr int kDpi = 300;
constexpr double kMarginMm = 20;
constexpr int kFrontSheets = 2; // title page + contents

const QString kBodyFont = QStringLiteral("IPAPMincho");
const QString kHeadingFont = QStringLiteral("IPAPGothic");

double mmToPx(double mm)
{
    return mm / 25.4 * kDpi;
}

struct Heading
{
    int level;
    QString text;
    int page; // body page, from 1
};

// Headings in the sans-serif face; everything else in the serif one.
void styleDocument(QTextDocument &doc)
{
    QFont body(kBodyFont);
    body.setPointSizeF(10.5);
    doc.setDefaultFont(body);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const int level = b.blockFormat().headingLevel();
        if (level == 0)
            continue;
        QTextCursor c(b);
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setFontFamilies({ kHeadingFont });
        f.setFontPointSize(level == 1 ? 18 : level == 2 ? 14 : 12);
        f.setFontWeight(QFont::Bold);
        c.mergeCharFormat(f);
        QTextBlockFormat bf = b.blockFormat();
        bf.setTopMargin(level == 1 ? mmToPx(6) : mmToPx(4));
        bf.setBottomMargin(mmToPx(2));
        if (level == 1 && b != doc.begin())
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(b).setBlockFormat(bf);
    }
    // Tables: ruled cells with room around the text.
    for (QTextFrame *frame : doc.rootFrame()->childFrames())
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            QTextTableFormat tf = table->format();
            tf.setCellPadding(mmToPx(1));
            tf.setCellSpacing(0);
            tf.setBorder(1);
            tf.setBorderCollapse(true);
            tf.setBorderBrush(Qt::darkGray);
            table->setFormat(tf);
        }
}

QList<Heading> headingsOf(QTextDocument &doc, double pageHeight)
{
    QList<Heading> out;
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const int level = b.blockFormat().headingLevel();
        if (level == 0 || level > 2)
            continue;
        const double top = layout->blockBoundingRect(b).top();
        out.append({ level, b.text(), int(top / pageHeight) + 1 });
    }
    return out;
}

void drawPages(QPainter &p, QTextDocument &doc, const QRectF &content, int pages, bool numbered,
    QPdfWriter &writer, bool &first)
{
    const double h = doc.pageSize().height();
    for (int i = 0; i < pages; ++i) {
        if (!first)
            writer.newPage();
        first = false;
        p.save();
        p.translate(content.left(), content.top() - i * h);
        doc.drawContents(&p, QRectF(0, i * h, content.width(), h));
        p.restore();
        if (numbered) {
            QFont f(kBodyFont);
            f.setPointSizeF(9);
            p.setFont(f);
            const QRectF foot(
                content.left(), content.bottom() + mmToPx(4), content.width(), mmToPx(8));
            p.drawText(foot, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("— %1 —").arg(i + 1));
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: zarno_manual_tool MANUAL.md PICTURE_DIR OUT.pdf\n");
        return 2;
    }
    QFile in(args[1]);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    const QString markdown = QString::fromUtf8(in.readAll());

    QPdfWriter writer(args[3]);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(kDpi);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(QStringLiteral("zarno ヘルプ"));
    writer.setCreator(QStringLiteral("zarno"));
    const QRectF page(0, 0, writer.width(), writer.height());
    const double m = mmToPx(kMarginMm);
    const QRectF content = page.adjusted(m, m, -m, -m - mmToPx(6));

    auto prepare = [&](QTextDocument &doc) {
        doc.documentLayout()->setPaintDevice(&writer);
        doc.setPageSize(content.size());
        doc.setDocumentMargin(0);
    };

    QTextDocument body;
    prepare(body);
    body.setBaseUrl(QUrl::fromLocalFile(args[2] + QLatin1Char('/')));
    body.setMarkdown(markdown);
    styleDocument(body);
    const int bodyPages = body.pageCount();
    const QList<Heading> headings = headingsOf(body, content.height());

    // The contents: chapter and section titles with their body pages.
    QTextDocument contents;
    prepare(contents);
    {
        QFont f(kBodyFont);
        f.setPointSizeF(10.5);
        contents.setDefaultFont(f);
        QTextCursor c(&contents);
        QTextCharFormat title;
        title.setFontFamilies({ kHeadingFont });
        title.setFontPointSize(18);
        title.setFontWeight(QFont::Bold);
        c.insertText(QStringLiteral("目次"), title);
        // One row per heading: its title, and its page at the right.
        QTextTableFormat tf;
        tf.setBorder(0);
        tf.setCellPadding(mmToPx(0.4));
        tf.setCellSpacing(0);
        tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        tf.setColumnWidthConstraints({ QTextLength(QTextLength::PercentageLength, 90),
            QTextLength(QTextLength::PercentageLength, 10) });
        tf.setTopMargin(mmToPx(4));
        QTextTable *table = c.insertTable(int(headings.size()), 2, tf);
        for (int i = 0; i < headings.size(); ++i) {
            const Heading &h = headings[i];
            QTextCharFormat cf;
            cf.setFontFamilies({ h.level == 1 ? kHeadingFont : kBodyFont });
            cf.setFontPointSize(h.level == 1 ? 11 : 10);
            QTextCursor title = table->cellAt(i, 0).firstCursorPosition();
            QTextBlockFormat bf;
            bf.setLeftMargin(h.level == 1 ? 0 : mmToPx(6));
            bf.setTopMargin(h.level == 1 && i > 0 ? mmToPx(1.5) : 0);
            title.setBlockFormat(bf);
            title.insertText(h.text, cf);
            QTextCursor number = table->cellAt(i, 1).firstCursorPosition();
            QTextBlockFormat right;
            right.setAlignment(Qt::AlignRight);
            right.setTopMargin(bf.topMargin());
            number.setBlockFormat(right);
            number.insertText(QString::number(h.page), cf);
        }
    }
    if (contents.pageCount() > kFrontSheets - 1) {
        std::fprintf(stderr, "the contents need %d pages; only %d fit before the body\n",
            contents.pageCount(), kFrontSheets - 1);
        return 1;
    }

    QPainter p(&writer);
    bool first = true;
    // Title page.
    {
        QFont f(kHeadingFont);
        f.setPointSizeF(32);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(content.left(), content.top() + mmToPx(70), content.width(), mmToPx(20)),
            Qt::AlignCenter, QStringLiteral("zarno ヘルプ"));
        f.setPointSizeF(14);
        f.setBold(false);
        p.setFont(f);
        p.drawText(QRectF(content.left(), content.top() + mmToPx(95), content.width(), mmToPx(12)),
            Qt::AlignCenter, QStringLiteral("数学の教材のための図形とグラフ"));
        first = false;
    }
    drawPages(p, contents, content, kFrontSheets - 1, false, writer, first);
    drawPages(p, body, content, bodyPages, true, writer, first);
    p.end();
    std::printf(
        "%s: %d body pages, %d sheets\n", qPrintable(args[3]), bodyPages, bodyPages + kFrontSheets);
    return 0;
}
