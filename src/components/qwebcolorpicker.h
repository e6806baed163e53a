#pragma once

#include <QColor>
#include <QWidget>

class QLabelEx;
class QLineEdit;

// A colour text with or without the leading "#", or a colour name.
QColor colorFromString(const QString& text);

// A square colour swatch beside the colour's text. Its value is the text.
class QWebColorPicker : public QWidget {
    Q_OBJECT
public:
    explicit QWebColorPicker(QWidget* parent = nullptr);

    void setColor(const QString& text);
    QString color() const;
    void setLabelColor(const QColor& color);
    void setTextColor(const QString& text);

signals:
    void changeColor(QString color);

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void selectColor();
    void textEdited(const QString& text);
    void editingFinished();

private:
    void updateSizes();

    QLabelEx* colorLabel;
    QLineEdit* colorEdit;
};
