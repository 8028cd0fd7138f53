#pragma once

#include <cstdint>
#include <string>

// One web-site visitor as the server describes it (a visitor record of reply 9001/1007, or
// fields 2-9 of event 9003/4001). Texts the server left out are stored empty.
struct CVisitorEntry final
{
    std::int32_t id = 0;      // key of the visitor list
    std::int32_t number1 = 0; // stored, not used
    std::string text1;        // the page address the visitor is on
    std::string text2;        // the caption shown for the visitor
    std::string text3;        // stored, not shown
    std::string time;         // local "HH:MM:SS MM/DD/YYYY" after a bulk load, else as received
    std::string text5;        // the visitor's IP address text
    std::int32_t number2 = 0; // the console groups visitor rows by it
    // Kept by the console on its own copy of the entry; the session never changes them.
    bool invited = false;
    std::int32_t minutes = 0;
};
