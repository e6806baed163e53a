#include "qwebcolorpicker.h"

#include "qlabelex.h"

#include <QApplication>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

QColor colorFromString(const QString& text)
{
    const QString trimmed = text.trimmed();
    QColor color;
    if (!trimmed.startsWith(QLatin1Char('#')))
        color.setNamedColor(QLatin1Char('#') + trimmed);
    if (trimmed.startsWith(QLatin1Char('#')) || !color.isValid())
        color.setNamedColor(trimmed);
    return color;
}

QWebColorPicker::QWebColorPicker(QWidget* parent)
    : QWidget(parent)
    , colorLabel(new QLabelEx(this))
    , colorEdit(new QLineEdit(this))
{
    updateSizes();
    colorEdit->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(colorEdit, SIGNAL(textEdited(const QString&)), this, SLOT(textEdited(const QString&)));
    connect(colorEdit, SIGNAL(editingFinished()), this, SLOT(editingFinished()));

    colorLabel->setCursor(Qt::PointingHandCursor);
    colorLabel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    colorLabel->setFrameShape(QFrame::StyledPanel);
    colorLabel->setAutoFillBackground(true);
    connect(colorLabel, SIGNAL(clicked()), this, SLOT(selectColor()));

    QHBoxLayout* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(colorLabel);
    layout->addWidget(colorEdit);
    layout->addItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Minimum));

    setColor(QStringLiteral("#000000"));
}

void QWebColorPicker::updateSizes()
{
    // Room for seven characters: "#" and six hexadecimal digits; the swatch
    // is a square as high as the edit's text area.
    const QFontMetrics metrics(colorEdit->font());
    const QMargins margins = colorEdit->textMargins();
    const int h = metrics.height() + qMax(metrics.leading(), 2) + margins.top() + margins.bottom();
    const int text = qMax(7 * metrics.horizontalAdvance(QLatin1Char('0')),
                          metrics.horizontalAdvance(QStringLiteral("#DDDDDD")));
    const int w = text + margins.left() + margins.right();
    QStyleOptionFrame option;
    option.initFrom(colorEdit);
    const QSize editSize = colorEdit->style()->sizeFromContents(
        QStyle::CT_LineEdit, &option, QSize(w, h).expandedTo(QApplication::globalStrut()), colorEdit);
    colorEdit->setMinimumSize(editSize);
    colorEdit->setMaximumSize(editSize);
    colorLabel->setMinimumSize(h, h);
    colorLabel->setMaximumSize(h, h);
}

void QWebColorPicker::changeEvent(QEvent* event)
{
    // A form sets its fonts after building the picker: keep the text in view.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        updateSizes();
    QWidget::changeEvent(event);
}

void QWebColorPicker::setColor(const QString& text)
{
    setLabelColor(colorFromString(text));
    colorEdit->setText(text);
    emit changeColor(text);
}

QString QWebColorPicker::color() const
{
    return colorEdit->text();
}

void QWebColorPicker::setLabelColor(const QColor& color)
{
    QPalette palette = colorLabel->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(color));
    colorLabel->setPalette(palette);
}

void QWebColorPicker::setTextColor(const QString& text)
{
    colorEdit->setText(text);
}

void QWebColorPicker::selectColor()
{
    QColor initial;
    initial.setNamedColor(colorEdit->text());
    QColorDialog dialog(initial, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QColor current;
    current.setNamedColor(colorEdit->text());
    const QColor selected = dialog.selectedColor();
    if (selected != current)
        setColor(selected.name());
}

void QWebColorPicker::textEdited(const QString& text)
{
    setLabelColor(colorFromString(text));
}

void QWebColorPicker::editingFinished()
{
    emit changeColor(colorEdit->text());
}
