// SPDX-License-Identifier: GPL-3.0-or-later
// Test doubles for the clock and the main window's handlers.
#pragma once

#include "localclock.h"
#include "toolkit.h"
#include "windowmodel.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tessaro::testing
{

// Logs every write as "Property element value" and keeps the last of each.
struct RecordingWindow final : Window {
    void setCaption(ElementKey k, std::string_view s) override { put("Caption", k, s); }
    void setVisible(ElementKey k, bool on) override { put("Visible", k, on ? "1" : "0"); }
    void setAccessibleName(ElementKey k, std::string_view s) override { put("Name", k, s); }
    void setAccessibleDescription(ElementKey k, std::string_view s) override
    {
        put("Description", k, s);
    }
    void setBackColor(ElementKey k, Colour c) override { put("BackColor", k, std::to_string(c)); }
    void setBorderStyle(ElementKey k, int n) override { put("BorderStyle", k, std::to_string(n)); }
    int value(ElementKey k) const override { return values[describe(k)]; }
    bool readerListening() const override { return listening; }
    void setTitle(std::string_view) override {}
    void show() override {}
    void unload() override {}

    // The last values of a property of the elements, apart by spaces; "" if unwritten.
    template <typename Keys = std::initializer_list<ElementKey>>
    std::string operator()(const std::string &property, const Keys &keys) const
    {
        std::string all;
        for (ElementKey key : keys) {
            const auto found = m_last.find(property + " " + describe(key));
            all += " " + (found == m_last.end() ? "" : found->second);
        }
        return all.substr(1);
    }

    // Check boxes as a user's click leaves them, by describe(key).
    mutable std::map<std::string, int> values;
    bool listening = true; // a screen reader is listening
    std::vector<std::string> log;
    // Names and descriptions as a reader hears of them: changes, apart by "|".
    std::string renames;

private:
    void put(const std::string &property, ElementKey key, std::string_view value)
    {
        std::string &last = m_last[property + " " + describe(key)];
        if ((property == "Name" || property == "Description") && last != value)
            renames.append(renames.empty() ? "" : "|").append(value);
        last = value;
        log.push_back(property + " " + describe(key) + " " + std::string(value));
    }
    std::map<std::string, std::string> m_last;
};

// Reads the same moment every time, and counts the readings.
struct FixedClock final : LocalClock {
    explicit FixedClock(LocalDateTime at) : moment(at) {}
    LocalDateTime now() override
    {
        ++reads;
        return moment;
    }
    LocalDateTime moment;
    int reads = 0;
};

} // namespace tessaro::testing
