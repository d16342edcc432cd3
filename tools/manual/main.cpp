// Builds the user manual: Markdown in, an A4 PDF out, with a title page, a
// table of contents and page numbers, Japanese text in the IPA fonts.
//
//   zarno_manual_tool MANUAL.md PICTURE_DIR OUT.pdf
//
// Pictures named in the Markdown are looked up in PICTURE_DIR (they are made
// by the program at build time). The text before the line "<!-- body -->"
// is the preface. The title page, the preface and the contents take one
// sheet each, so that body page n is sheet n + 3: the welcome window sends
// readers to pages 1 to 3, "sheets 4 to 6".
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kDpi = 300;
constexpr double kMarginMm = 20;
constexpr int kFrontSheets = 3; // title page, preface, contents

const QString kBodyFont = QStringLiteral("IPAPMincho");
const QString kHeadingFont = QStringLiteral("IPAPGothic");

// The text is laid out at the screen's 96 dpi and drawn scaled up: laid out
// for the 300-dpi writer itself, paragraphs after a forced page break went
// missing from the layout.
constexpr double kLayoutDpi = 96;
constexpr double kLayoutScale = kDpi / kLayoutDpi;

double mmToPx(double mm)
{
    return mm / 25.4 * kDpi;
}

double mmToLayout(double mm)
{
    return mm / 25.4 * kLayoutDpi;
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
        bf.setTopMargin(level == 1 ? mmToLayout(6) : mmToLayout(4));
        bf.setBottomMargin(mmToLayout(2));
        if (level == 1 && b != doc.begin())
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(b).setBlockFormat(bf);
    }
    // Tables: ruled cells with room around the text.
    for (QTextFrame *frame : doc.rootFrame()->childFrames())
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            QTextTableFormat tf = table->format();
            tf.setCellPadding(mmToLayout(1));
            tf.setCellSpacing(0);
            tf.setBorder(1);
            tf.setBorderCollapse(true);
            tf.setBorderBrush(Qt::darkGray);
            tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            table->setFormat(tf);
        }
}

// Pictures are drawn at 300 dpi: on paper at the size they have there. The
// text names each by a marker (the Markdown reader leaves images out), which
// is replaced by the picture from pictureDir. False, with the reason on
// stderr, when a picture is missing.
const QString kPictureMark = QStringLiteral("@@PICTURE:");

bool placePictures(QTextDocument &doc, const QString &pictureDir)
{
    for (QTextCursor c = doc.find(kPictureMark); !c.isNull(); c = doc.find(kPictureMark, c)) {
        const int start = c.selectionStart();
        const int end = c.block().text().indexOf(
                            QStringLiteral("@@"), c.selectionEnd() - c.block().position())
            + 2 + c.block().position();
        c.setPosition(start);
        c.setPosition(end, QTextCursor::KeepAnchor);
        const QString mark = c.selectedText();
        const QString name = mark.mid(kPictureMark.size(), mark.size() - kPictureMark.size() - 2);
        const QImage picture(pictureDir + QLatin1Char('/') + name);
        if (picture.isNull()) {
            std::fprintf(stderr, "missing picture %s\n", qPrintable(name));
            return false;
        }
        doc.addResource(QTextDocument::ImageResource, QUrl(name),
            picture.convertToFormat(QImage::Format_RGB32));
        QTextImageFormat image;
        image.setName(name);
        image.setWidth(picture.width() / kLayoutScale);
        image.setHeight(picture.height() / kLayoutScale);
        c.insertImage(image);
    }
    return true;
}

// Code (typeset text, formulas, commands) in a font that shows the
// backslash as a backslash: the Japanese fonts draw it as a yen sign.
void styleCode(QTextDocument &doc)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.charFormat().fontFixedPitch() && !b.blockFormat().nonBreakableLines())
                continue;
            QTextCharFormat code;
            code.setFontFamilies({ QStringLiteral("DejaVu Sans Mono") });
            code.setFontPointSize(9);
            QTextCursor c(&doc);
            c.setPosition(f.position());
            c.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
            c.mergeCharFormat(code);
        }
}

// A short table split by a page end would leave a picture's text on one
// page and the picture on the next: such a table starts a new page. Long
// tables repeat their header row on each page instead.
void keepTablesTogether(QTextDocument &doc)
{
    const double pageHeight = doc.pageSize().height();
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    for (QTextFrame *frame : doc.rootFrame()->childFrames()) {
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        const QRectF box = layout->frameBoundingRect(table);
        const bool split = int(box.top() / pageHeight) != int((box.bottom() - 1) / pageHeight);
        if (split && box.height() < pageHeight / 2) {
            // A heading just above (with at most two paragraphs between)
            // goes along with its table.
            QTextBlock before = doc.findBlock(table->firstPosition() - 1);
            for (int text = 0; before.isValid() && before.blockFormat().headingLevel() == 0;
                 before = before.previous())
                if (!before.text().trimmed().isEmpty() && ++text > 2)
                    break;
            if (before.isValid() && before.blockFormat().headingLevel() > 0) {
                QTextBlockFormat bf = before.blockFormat();
                bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                QTextCursor(before).setBlockFormat(bf);
            } else {
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            }
        } else {
            format.setHeaderRowCount(1);
        }
        table->setFormat(format);
    }
}

// Reads Markdown with its pictures (looked up in pictureDir) into doc, styled
// for print. False, with the reason on stderr, when a picture is missing.
bool readMarkdown(QTextDocument &doc, const QString &markdown, const QString &pictureDir)
{
    // Bulleted items become paragraphs that start with a bullet: the text
    // layout loses list items that follow a forced page break.
    QStringList paragraphs;
    for (const QString &line : markdown.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("- ")))
            paragraphs << QStringLiteral("・") + line.mid(2) << QString();
        else
            paragraphs << line;
    }
    static const QRegularExpression picture(QStringLiteral("!\\[[^\\]]*\\]\\(([^)]+)\\)"));
    QString marked = paragraphs.join(QLatin1Char('\n'));
    marked.replace(picture, kPictureMark + QStringLiteral("\\1@@"));
    // The pictures after the text: reading it empties the document's
    // resources.
    doc.setMarkdown(marked);
    if (!placePictures(doc, pictureDir))
        return false;
    styleCode(doc);
    styleDocument(doc);
    keepTablesTogether(doc);
    return true;
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
        p.translate(content.topLeft());
        p.scale(kLayoutScale, kLayoutScale);
        p.translate(0, -i * h);
        doc.drawContents(&p, QRectF(0, i * h, doc.pageSize().width(), h));
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
    const QString source = QString::fromUtf8(in.readAll());
    const QString bodyMark = QStringLiteral("<!-- body -->");
    const qsizetype split = source.indexOf(bodyMark);
    if (split < 0) {
        std::fprintf(stderr, "%s has no line %s\n", qPrintable(args[1]), qPrintable(bodyMark));
        return 1;
    }

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
        doc.setPageSize(content.size() / kLayoutScale);
        doc.setDocumentMargin(0);
    };

    QTextDocument preface, body;
    prepare(preface);
    prepare(body);
    if (!readMarkdown(preface, source.left(split), args[2])
        || !readMarkdown(body, source.mid(split + bodyMark.size()), args[2]))
        return 1;
    if (preface.pageCount() > 1) {
        std::fprintf(
            stderr, "the preface needs %d pages; it must fit on one\n", preface.pageCount());
        return 1;
    }
    const int bodyPages = body.pageCount();
    const QList<Heading> headings = headingsOf(body, body.pageSize().height());

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
        // Two columns of headings, each a title and its page at the right,
        // so that the contents fit on their one sheet.
        QTextTableFormat tf;
        tf.setBorder(0);
        tf.setCellPadding(mmToLayout(0.3));
        tf.setCellSpacing(0);
        tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        tf.setColumnWidthConstraints({ QTextLength(QTextLength::PercentageLength, 43),
            QTextLength(QTextLength::PercentageLength, 5),
            QTextLength(QTextLength::PercentageLength, 4),
            QTextLength(QTextLength::PercentageLength, 43),
            QTextLength(QTextLength::PercentageLength, 5) });
        tf.setTopMargin(mmToLayout(4));
        const int rows = int(headings.size() + 1) / 2;
        QTextTable *table = c.insertTable(rows, 5, tf);
        for (int i = 0; i < headings.size(); ++i) {
            const Heading &h = headings[i];
            const int row = i % rows, column = i / rows * 3;
            QTextCharFormat cf;
            cf.setFontFamilies({ h.level == 1 ? kHeadingFont : kBodyFont });
            cf.setFontPointSize(h.level == 1 ? 10.5 : 9.5);
            QTextCursor title = table->cellAt(row, column).firstCursorPosition();
            QTextBlockFormat bf;
            bf.setLeftMargin(h.level == 1 ? 0 : mmToLayout(5));
            bf.setTopMargin(h.level == 1 && row > 0 ? mmToLayout(1.5) : 0);
            title.setBlockFormat(bf);
            title.insertText(h.text, cf);
            QTextCursor number = table->cellAt(row, column + 1).firstCursorPosition();
            QTextBlockFormat right;
            right.setAlignment(Qt::AlignRight);
            right.setTopMargin(bf.topMargin());
            number.setBlockFormat(right);
            number.insertText(QString::number(h.page), cf);
        }
    }
    if (contents.pageCount() > 1) {
        std::fprintf(
            stderr, "the contents need %d pages; they must fit on one\n", contents.pageCount());
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
    drawPages(p, preface, content, 1, false, writer, first);
    drawPages(p, contents, content, 1, false, writer, first);
    drawPages(p, body, content, bodyPages, true, writer, first);
    p.end();
    std::printf(
        "%s: %d body pages, %d sheets\n", qPrintable(args[3]), bodyPages, bodyPages + kFrontSheets);
    return 0;
}
