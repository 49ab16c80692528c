#pragma once
// A small framed patch of one solid colour that reacts to a click, as the
// "Basic" page shows an object's colour beside its "Change..." button.

#include <QColor>
#include <QFrame>

class CColorSwatch : public QFrame {
    Q_OBJECT

public:
    explicit CColorSwatch(QWidget* parent = nullptr);

    void SetColor(const QColor& color);
    const QColor& Color() const { return m_Color; }

    QSize sizeHint() const override { return QSize(40, 20); }

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor m_Color = Qt::black;
};
