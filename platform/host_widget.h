// The widget that shows one window: turns Qt's events into the window's
// messages and shows what the window painted into its surface.
#pragma once

#include "win32.h"

#include <QWidget>

class QScrollBar;

namespace platform::detail {

class HostWidget : public QWidget {
 public:
  HostWidget(HWND hwnd, QWidget* parent);
  ~HostWidget() override;

  HWND window() const { return hwnd_; }
  void detach() { hwnd_ = nullptr; }
  bool inEvent() const { return eventDepth_ > 0; }

  // Non-client parts: border and scroll bars.
  QPoint clientOrigin() const;
  QSize clientSize() const;
  void applyStyle();
  QScrollBar* scrollBar(int bar) const { return bar == SB_VERT ? vbar_ : hbar_; }

  void scheduleRepaint();
  void surfaceChanged();

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  LPARAM clientPoint(const QPointF& pos) const;
  WPARAM mouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) const;
  void sendMouse(UINT msg, QMouseEvent* e);
  void scrollAction(int bar, int action);
  void scrollReleased(int bar);
  void layoutScrollBars();
  int borderWidth() const;

  HWND hwnd_;
  QScrollBar* vbar_ = nullptr;
  QScrollBar* hbar_ = nullptr;
  int eventDepth_ = 0;
  bool painting_ = false;
};

}  // namespace platform::detail
