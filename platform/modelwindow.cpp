// SPDX-License-Identifier: GPL-3.0-or-later
#include "modelwindow.h"

#include <algorithm>

namespace tessaro
{

ModelWindow::ModelWindow(const WindowDef &def, WindowEvents &events, WindowHost &host)
    : m_model(def), m_events(events), m_host(host)
{
}

ModelWindow::~ModelWindow() = default;

void ModelWindow::load()
{
    m_events.onLoad(*this);
    for (const std::size_t timer : m_model.timers())
        startTimer(timer, m_model.element(timer).intervalMs);
}

template <typename Write> void ModelWindow::write(ElementKey key, Change change, Write &&write)
{
    const std::size_t at = m_model.indexOf(key);
    if (write(at))
        showChange(at, change);
}

void ModelWindow::setCaption(ElementKey key, std::string_view text)
{
    write(key, Change::Caption, [&](std::size_t at) { return m_model.setCaption(at, text); });
}

void ModelWindow::setBackColor(ElementKey key, Colour colour)
{
    write(key, Change::BackColour,
          [&](std::size_t at) { return m_model.setBackColour(at, colour); });
}

void ModelWindow::setVisible(ElementKey key, bool visible)
{
    write(key, Change::Visible, [&](std::size_t at) { return m_model.setVisible(at, visible); });
}

void ModelWindow::setBorderStyle(ElementKey key, int style)
{
    write(key, Change::Border, [&](std::size_t at) { return m_model.setBorder(at, style); });
}

int ModelWindow::value(ElementKey key) const
{
    const std::size_t at = m_model.indexOf(key);
    return m_model.element(at).kind == ElementKind::CheckBox ? m_model.state(at).value : 0;
}

void ModelWindow::setAccessibleName(ElementKey key, std::string_view name)
{
    write(key, Change::AccessibleName,
          [&](std::size_t at) { return m_model.setAccessibleName(at, name); });
}

void ModelWindow::setAccessibleDescription(ElementKey key, std::string_view text)
{
    if (key != ElementKey{})
        (void)m_model.indexOf(key);
    else if (m_model.setAccessibleDescription(text))
        showAccessibleDescription();
}

void ModelWindow::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    stopTimers();
    closeNativeWindow();
    m_events.onUnloaded();
    m_host.release(*this);
}

void ModelWindow::clicked(std::size_t element)
{
    if (!m_unloaded)
        m_events.onClick(*this, m_model.element(element).key);
}

void ModelWindow::valueChanged(std::size_t element, int value)
{
    if (m_model.setValue(element, value))
        clicked(element);
}

void ModelWindow::timerFired(std::size_t element)
{
    if (!m_unloaded)
        m_events.onTimer(*this, m_model.element(element).key);
}

// --- WindowHost ------------------------------------------------------------

WindowHost::~WindowHost() = default;

ModelWindow &WindowHost::adopt(std::unique_ptr<ModelWindow> window)
{
    m_windows.push_back(std::move(window));
    ModelWindow &adopted = *m_windows.back();
    adopted.load();
    return adopted;
}

void WindowHost::release(ModelWindow &window)
{
    const auto found = std::find_if(m_windows.begin(), m_windows.end(),
                                    [&](const auto &owned) { return owned.get() == &window; });
    if (found == m_windows.end())
        return;
    m_released.push_back(std::move(*found));
    m_windows.erase(found);
    runLater([this] { destroyReleased(); });
}

void WindowHost::destroyReleased()
{
    m_released.clear();
}

void WindowHost::destroyAll()
{
    m_released.clear();
    m_windows.clear();
}

} // namespace tessaro
