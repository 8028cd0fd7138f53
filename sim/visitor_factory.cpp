#include "visitor_factory.h"

#include "sim_random.h"
#include "utc_stamp.h"

#include <array>
#include <string>
#include <vector>

namespace {

struct Page
{
    const char* path;
    const char* title;
};

struct Site
{
    const char* host;
    const char* brand;
    std::vector<Page> pages;
    std::vector<const char*> questions;
    std::vector<const char*> replies;
};

const std::vector<Site>& Sites()
{
    static const std::vector<Site> sites = {
        {"www.northwind-outdoor.com",
         "Northwind Outdoor",
         {{"/", "Northwind Outdoor - Gear for every trail"},
          {"/tents/trail-2p.html", "Trail 2P Tent"},
          {"/tents/basecamp-4p.html", "Basecamp 4P Family Tent"},
          {"/sleeping-bags/", "Sleeping Bags"},
          {"/sale/?sort=price", "Sale - Up to 40% off"},
          {"/checkout/cart", "Your Cart"},
          {"/help/returns.html", "Returns and Exchanges"}},
         {"Hi, is the Trail 2P tent in stock in green?",
          "Hello, how warm is the Arctic sleeping bag really?",
          "Hi there, can I still return boots I bought five weeks ago?",
          "Hello, my cart says the discount code is invalid."},
         {"Great, and how long does delivery take?", "Does it come with a footprint?",
          "OK, I think I will order it today.", "Thanks, that helps a lot. Bye!"}},
        {"shop.bluelake-tea.co.uk",
         "Blue Lake Tea",
         {{"/", "Blue Lake Tea - Loose leaf tea from small estates"},
          {"/green/sencha-uji.html", "Sencha Uji 100g"},
          {"/black/assam-halmari.html", "Assam Halmari Gold"},
          {"/gifts/tasting-box", "Tasting Box - 12 teas"},
          {"/subscription", "Tea of the Month Subscription"},
          {"/basket", "Basket"}},
         {"Hello, do you ship to Norway?", "Hi, which green tea is least bitter?",
          "Hello, can I pause my subscription for a month?",
          "Hi, is the tasting box suitable as a gift with a message?"},
         {"Lovely, and what would shipping cost?", "Can I choose the teas myself?",
          "Perfect, I'll add it to my basket.", "Thank you so much, have a nice day!"}},
        {"help.kestrel-software.net",
         "Kestrel Software",
         {{"/", "Kestrel Help Centre"},
          {"/kb/licence-activation", "Activating your licence"},
          {"/kb/sync-errors", "Fixing sync errors"},
          {"/downloads/", "Downloads"},
          {"/account/billing", "Billing and invoices"},
          {"/kb/export-csv", "Exporting data to CSV"}},
         {"Hi, my licence key says it was already used.",
          "Hello, sync stops at 87% with error 0x41.", "Hi, where do I find last year's invoices?",
          "Hello, can I move my licence to a new laptop?"},
         {"I tried that, it still shows the same message.", "Which version should I install?",
          "It works now!", "Thanks for the quick help, bye."}},
        {"www.villa-marisol.es",
         "Villa Marisol",
         {{"/", "Villa Marisol - Holiday homes on the coast"},
          {"/homes/casa-azul.html", "Casa Azul - sea view, sleeps 6"},
          {"/homes/la-higuera.html", "La Higuera - garden and pool"},
          {"/availability?month=7", "Availability July"},
          {"/booking/step-2", "Booking - your details"},
          {"/faq", "Frequently asked questions"}},
         {"Hello, is Casa Azul free from 12 to 19 July?", "Hi, are pets allowed at La Higuera?",
          "Hello, can we arrive late in the evening?", "Hi, is the pool heated in October?"},
         {"And is there parking close by?", "How much is the deposit?",
          "Great, we will book tonight.", "Thanks, see you in summer!"}},
    };
    return sites;
}

const std::vector<std::string> kFirstNames = {
    "Anna",  "Ben",   "Clara", "David", "Elif", "Femi", "Greta", "Hugo",  "Ines",
    "Jonas", "Kasia", "Liam",  "Maya",  "Nils", "Olga", "Pablo", "Quinn", "Rosa",
    "Sami",  "Tara",  "Umar",  "Vera",  "Wim",  "Yara", "Zoe"};

// Documentation address ranges: they look real and belong to nobody.
const std::array<const char*, 3> kAddressPrefixes = {"192.0.2.", "198.51.100.", "203.0.113."};

} // namespace

int CVisitorFactory::SiteCount()
{
    return static_cast<int>(Sites().size());
}

SimVisitor CVisitorFactory::Make(std::int32_t id, std::chrono::system_clock::time_point entered)
{
    const auto siteIndex = m_random.Below(static_cast<std::uint32_t>(Sites().size()));
    const Site& site = Sites()[siteIndex];
    const Page& page = m_random.Pick(site.pages);
    const std::string base = std::string("http://") + site.host;

    SimVisitor v;
    v.id = id;
    v.pageViews = m_random.Between(1, 14);
    v.page = base + page.path;
    v.caption = std::string(page.title);
    switch (m_random.Below(3)) {
    case 0:
        v.referrer = "(direct)";
        break;
    case 1:
        v.referrer = base + "/";
        break;
    default:
        v.referrer = base + m_random.Pick(site.pages).path;
        break;
    }
    v.entered = UtcStamp(entered);
    v.address = std::string(kAddressPrefixes[m_random.Below(kAddressPrefixes.size())]) +
                std::to_string(m_random.Between(1, 254));
    v.groupKey = static_cast<std::int32_t>(siteIndex) + 1;
    v.name = m_random.Pick(kFirstNames) + " " + static_cast<char>('A' + m_random.Below(26)) + ".";
    v.question = m_random.Pick(site.questions);
    for (const char* reply : site.replies)
        v.replies.emplace_back(reply);
    return v;
}
