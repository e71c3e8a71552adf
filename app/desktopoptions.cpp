#include "app/desktopoptions.h"

#include <QCommandLineParser>

#include <algorithm>

namespace {

const QStringList LedNames{"num", "caps", "scroll"};
const QStringList UrgencyNames{"low", "normal", "critical"};
const QStringList RuleOptions{"led", "app", "urgency"};
const QStringList WindowOptions{"--tray", "--announce-locks", "--follow-notifications"};

// The place of `value` in `names`, any letter case, or an error naming the choices.
int choice(const QString& option, const QString& value, const QStringList& names, QString& error) {
    const int index = int(names.indexOf(value.toLower()));
    if (index < 0)
        error =
            QStringLiteral("--%1 is one of %2, not \"%3\"").arg(option, names.join(", "), value);
    return index;
}

} // namespace

void DesktopOptions::addTo(QCommandLineParser& parser) {
    parser.addOption({"tray", "Live in the system tray; the window is shown from its menu."});
    parser.addOption(
        {"announce-locks", "Announce lock changes made by others in a desktop notification."});
    parser.addOption(
        {"follow-notifications", "Blink an LED while a matching desktop notification is open."});
    parser.addOption({"led", "The LED that blinks (num, caps, scroll; default scroll).", "LED"});
    parser.addOption(
        {"app", "Follow this application's notifications only (may be repeated).", "NAME"});
    parser.addOption({"urgency",
                      "Follow notifications of this urgency or more (low, normal, critical).",
                      "URGENCY"});
}

DesktopOptions DesktopOptions::from(const QCommandLineParser& parser) {
    DesktopOptions options;
    options.tray = parser.isSet("tray");
    options.announceLocks = parser.isSet("announce-locks");
    options.followNotifications = parser.isSet("follow-notifications");
    if (!options.followNotifications) {
        for (const QString& option : RuleOptions)
            if (parser.isSet(option))
                options.error = QStringLiteral("--%1 needs --follow-notifications").arg(option);
        return options;
    }
    if (parser.isSet("led")) {
        const int led = choice("led", parser.value("led"), LedNames, options.error);
        options.rule.led = led < 0 ? LockKey::Scroll : AllLockKeys[std::size_t(led)];
    }
    options.rule.apps = parser.values("app");
    if (parser.isSet("urgency"))
        options.rule.urgency =
            std::max(0, choice("urgency", parser.value("urgency"), UrgencyNames, options.error));
    return options;
}

DesktopOptions DesktopOptions::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    addTo(parser);
    if (!parser.parse(arguments)) {
        DesktopOptions options;
        options.error = parser.errorText();
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        DesktopOptions options;
        options.error = "unexpected argument \"" + parser.positionalArguments().first() + '"';
        return options;
    }
    return from(parser);
}

bool DesktopOptions::asked(const QStringList& arguments) {
    return std::any_of(arguments.begin(), arguments.end(),
                       [](const QString& argument) { return WindowOptions.contains(argument); });
}
