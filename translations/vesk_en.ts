<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>AboutWindow</name>
    <message>
        <source>Über VESK</source>
        <translation>About VESK</translation>
    </message>
    <message>
        <source>Version %1 (%2)</source>
        <translation>Version %1 (%2)</translation>
    </message>
    <message>
        <source>© 2026 VESK. Alle Rechte vorbehalten.</source>
        <translation>© 2026 VESK. All rights reserved.</translation>
    </message>
    <message>
        <source>Desktop: %1</source>
        <translation>Desktop: %1</translation>
    </message>
    <message>
        <source>Simulierter Desktop</source>
        <translation>Simulated desktop</translation>
    </message>
    <message>
        <source>X11-Desktop</source>
        <translation>X11 desktop</translation>
    </message>
</context>
<context>
    <name>ActiveSessionView</name>
    <message>
        <source>Session aktiv</source>
        <translation>Session active</translation>
    </message>
    <message>
        <source>Session beenden</source>
        <translation>End Session</translation>
    </message>
</context>
<context>
    <name>AnalyticsNotice</name>
    <message>
        <source>Anonyme Nutzungsdaten sind an</source>
        <translation>Anonymous usage data is on</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Verstanden</source>
        <translation>Got it</translation>
    </message>
    <message>
        <source>VESK misst nur, </source>
        <translation>VESK only measures </translation>
    </message>
    <message>
        <source>dass</source>
        <translation>that</translation>
    </message>
    <message>
        <source> du fokussierst — nie </source>
        <translation> you focus — never </translation>
    </message>
    <message>
        <source>woran</source>
        <translation>on what</translation>
    </message>
    <message>
        <source>. Keine App-Namen, keine Ziele, keine Inhalte.</source>
        <translation>. No app names, no goals, no content.</translation>
    </message>
</context>
<context>
    <name>AppLaunchPromptView</name>
    <message>
        <source>%1 in den Vesk holen?</source>
        <translation>Bring %1 into the Vesk?</translation>
    </message>
    <message>
        <source>Hinzufügen</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Blockieren</source>
        <translation>Block</translation>
    </message>
</context>
<context>
    <name>AppSearchDropdown</name>
    <message>
        <source>Keine weiteren Apps gefunden</source>
        <translation>No more apps found</translation>
    </message>
    <message>
        <source>Apps hinzufuegen</source>
        <translation>Add apps</translation>
    </message>
    <message>
        <source>Suche loeschen</source>
        <translation>Clear search</translation>
    </message>
</context>
<context>
    <name>BugReportView</name>
    <message>
        <source>Bug</source>
        <translation>Bug</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Feedback</translation>
    </message>
    <message>
        <source>Idee</source>
        <translation>Idea</translation>
    </message>
    <message>
        <source>ART</source>
        <translation>TYPE</translation>
    </message>
    <message>
        <source>Problem melden</source>
        <translation>Report a Problem</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Diagnose-Logs anhängen</source>
        <translation>Attach diagnostic logs</translation>
    </message>
    <message>
        <source>Technische Details der aktuellen Sitzung — keine Inhalte deiner Apps. Anonym ans VESK-Beta-Team.</source>
        <translation>Technical details of the current session — nothing from your apps. Anonymous, to the VESK beta team.</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Senden</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>Danke! Dein Bericht wurde gesendet.</source>
        <translation>Thanks! Your report has been sent.</translation>
    </message>
    <message>
        <source>Das VESK-Beta-Team meldet sich, falls Rückfragen kommen.</source>
        <translation>The VESK beta team will get in touch if they have questions.</translation>
    </message>
</context>
<context>
    <name>DurationDefaults</name>
    <message>
        <source>15 Min</source>
        <translation>15 min</translation>
    </message>
    <message>
        <source>30 Min</source>
        <translation>30 min</translation>
    </message>
    <message>
        <source>60 Min</source>
        <translation>60 min</translation>
    </message>
    <message>
        <source>120 Min</source>
        <translation>120 min</translation>
    </message>
    <message>
        <source>Unbegrenzt</source>
        <translation>Unlimited</translation>
    </message>
</context>
<context>
    <name>FeedUpdater</name>
    <message>
        <source>Der Update-Feed ist nicht erreichbar: %1</source>
        <translation>The update feed can&apos;t be reached: %1</translation>
    </message>
    <message>
        <source>Der Update-Feed ist ungültig.</source>
        <translation>The update feed is invalid.</translation>
    </message>
    <message>
        <source>Version %1 ist die neueste Version.</source>
        <translation>Version %1 is the latest version.</translation>
    </message>
    <message>
        <source>Das Update konnte nicht geladen werden: %1</source>
        <translation>The update couldn&apos;t be downloaded: %1</translation>
    </message>
    <message>
        <source>Das geladene Update ist unvollständig.</source>
        <translation>The downloaded update is incomplete.</translation>
    </message>
    <message>
        <source>Das geladene Update ist beschädigt.</source>
        <translation>The downloaded update is damaged.</translation>
    </message>
    <message>
        <source>Das Update konnte nicht installiert werden.</source>
        <translation>The update couldn&apos;t be installed.</translation>
    </message>
    <message>
        <source>Das geladene Update ist größer als angekündigt.</source>
        <translation>The downloaded update is larger than announced.</translation>
    </message>
    <message>
        <source>Die Signatur des Updates ist ungültig.</source>
        <translation>The update&apos;s signature is not valid.</translation>
    </message>
</context>
<context>
    <name>HardcoreLockBadge</name>
    <message>
        <source>Hardcore</source>
        <translation>Hardcore</translation>
    </message>
    <message>
        <source>Hardcore-Modus: Die Session endet nur durch Timer oder Neustart.</source>
        <translation>Hardcore mode: the session only ends with the timer or a restart.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Über VESK</source>
        <translation>About VESK</translation>
    </message>
    <message>
        <source>Nach Updates suchen…</source>
        <translation>Check for Updates…</translation>
    </message>
    <message>
        <source>Einstellungen…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>VESK beenden</source>
        <translation>Quit VESK</translation>
    </message>
    <message>
        <source>Fenster</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>Minimieren</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>MetaPopoverView</name>
    <message>
        <source>Fuer diese Session</source>
        <translation>For this session</translation>
    </message>
    <message>
        <source>Schliessen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>DAUER</source>
        <translation>DURATION</translation>
    </message>
    <message>
        <source>Hardcore-Modus</source>
        <translation>Hardcore mode</translation>
    </message>
    <message>
        <source>Kein vorzeitiges Beenden moeglich</source>
        <translation>No ending early</translation>
    </message>
    <message>
        <source>Ziel — optional</source>
        <translation>Goal — optional</translation>
    </message>
    <message>
        <source>Was willst du erledigen?</source>
        <translation>What do you want to get done?</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
</context>
<context>
    <name>PermissionBannerView</name>
    <message>
        <source>Berechtigung erteilen</source>
        <translation>Grant Permission</translation>
    </message>
    <message>
        <source>Bedienungshilfen erforderlich</source>
        <translation>Accessibility required</translation>
    </message>
    <message>
        <source>VESK braucht Bedienungshilfen für Minimieren, Wiederherstellen und Monitor-Wechsel. Wenn der Schalter schon blau ist: VESK mit dem Minus-Button entfernen, mit Plus neu hinzufügen und VESK neu starten.</source>
        <translation>VESK needs Accessibility to minimize, restore and switch displays. If the switch is already blue: remove VESK with the minus button, add it again with plus and restart VESK.</translation>
    </message>
    <message>
        <source>Eingabeüberwachung erforderlich</source>
        <translation>Input Monitoring required</translation>
    </message>
    <message>
        <source>VESK braucht Eingabeüberwachung für Fensterbuttons, Klick-Blocking und den Notausgang.</source>
        <translation>VESK needs Input Monitoring for window buttons, click blocking and the emergency exit.</translation>
    </message>
    <message>
        <source>Eingabeüberwachung und Bedienungshilfen erforderlich</source>
        <translation>Input Monitoring and Accessibility required</translation>
    </message>
    <message>
        <source>VESK braucht Eingabeüberwachung für Fensterbuttons und Bedienungshilfen für Minimieren und Monitor-Wechsel. Wenn Bedienungshilfen schon aktiv wirkt: VESK mit dem Minus-Button entfernen, mit Plus neu hinzufügen und VESK neu starten.</source>
        <translation>VESK needs Input Monitoring for window buttons and Accessibility to minimize and switch displays. If Accessibility already looks on: remove VESK with the minus button, add it again with plus and restart VESK.</translation>
    </message>
    <message>
        <source>Berechtigungen erteilen</source>
        <translation>Grant Permissions</translation>
    </message>
    <message>
        <source>VESK neu starten</source>
        <translation>Restart VESK</translation>
    </message>
</context>
<context>
    <name>QuickAccessAppTile</name>
    <message>
        <source>%1 ist auf einem anderen Schreibtisch</source>
        <translation>%1 is on another desktop</translation>
    </message>
    <message>
        <source>%1 öffnen</source>
        <translation>Open %1</translation>
    </message>
    <message>
        <source>Aus Vesk entfernen</source>
        <translation>Remove from the Vesk</translation>
    </message>
</context>
<context>
    <name>QuickAccessPanelView</name>
    <message>
        <source>Keine Apps im Vesk.</source>
        <translation>No apps in the Vesk.</translation>
    </message>
    <message>
        <source>Apps</source>
        <translation>Apps</translation>
    </message>
    <message>
        <source>im Vesk</source>
        <translation>in the Vesk</translation>
    </message>
    <message>
        <source>Panel schliessen</source>
        <translation>Close panel</translation>
    </message>
    <message>
        <source>Fertig</source>
        <translation>Done</translation>
    </message>
    <message numerus="yes">
        <source>%n Apps im Vesk</source>
        <translation>
            <numerusform>%n app in the Vesk</numerusform>
            <numerusform>%n apps in the Vesk</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ScreenFunctionTogglesView</name>
    <message>
        <source>Hauptbildschirm</source>
        <translation>Main display</translation>
    </message>
    <message>
        <source>Apps-Leiste (Reinholen)</source>
        <translation>Apps bar (bring in)</translation>
    </message>
    <message>
        <source>Ziel &amp; Modus</source>
        <translation>Goal &amp; mode</translation>
    </message>
    <message>
        <source>Steuerleiste</source>
        <translation>Control bar</translation>
    </message>
</context>
<context>
    <name>SelectedAppTile</name>
    <message>
        <source>Aus Auswahl entfernen</source>
        <translation>Remove from selection</translation>
    </message>
</context>
<context>
    <name>SessionHUDAppChip</name>
    <message>
        <source>%1 öffnen</source>
        <translation>Open %1</translation>
    </message>
    <message>
        <source>Sichtbar</source>
        <translation>Visible</translation>
    </message>
    <message>
        <source>Verdeckt</source>
        <translation>Covered</translation>
    </message>
    <message>
        <source>Minimiert</source>
        <translation>Minimized</translation>
    </message>
    <message>
        <source>Auf anderem Schreibtisch</source>
        <translation>On another desktop</translation>
    </message>
    <message>
        <source>Nicht gestartet</source>
        <translation>Not running</translation>
    </message>
</context>
<context>
    <name>SessionHUDView</name>
    <message>
        <source>Keine App offen</source>
        <translation>No app open</translation>
    </message>
    <message>
        <source>Weitere erlaubte Apps anzeigen</source>
        <translation>Show more allowed apps</translation>
    </message>
    <message>
        <source>+%1</source>
        <translation>+%1</translation>
    </message>
    <message>
        <source>VESK verlassen?</source>
        <translation>Leave VESK?</translation>
    </message>
    <message>
        <source>⌃</source>
        <translation>⌃</translation>
    </message>
    <message>
        <source>×</source>
        <translation>×</translation>
    </message>
    <message>
        <source>Ziel</source>
        <translation>Goal</translation>
    </message>
    <message>
        <source>Apps</source>
        <translation>Apps</translation>
    </message>
    <message>
        <source>Screenshot auf Desktop speichern</source>
        <translation>Save screenshot to desktop</translation>
    </message>
    <message>
        <source>VESK verlassen</source>
        <translation>Leave VESK</translation>
    </message>
    <message>
        <source>App ist auf anderem Schreibtisch</source>
        <translation>App is on another desktop</translation>
    </message>
    <message>
        <source>Screenshot gespeichert</source>
        <translation>Screenshot saved</translation>
    </message>
    <message>
        <source>Screenshot fehlgeschlagen</source>
        <translation>Screenshot failed</translation>
    </message>
    <message>
        <source>VESK aktiv</source>
        <translation>VESK active</translation>
    </message>
    <message>
        <source>ZIEL</source>
        <translation>GOAL</translation>
    </message>
</context>
<context>
    <name>SessionHistoryView</name>
    <message>
        <source>Unbekannter Abschluss</source>
        <translation>Unknown ending</translation>
    </message>
    <message>
        <source>Timer abgelaufen</source>
        <translation>Timer ran out</translation>
    </message>
    <message>
        <source>Manuell beendet</source>
        <translation>Ended manually</translation>
    </message>
    <message>
        <source>Notausgang</source>
        <translation>Emergency exit</translation>
    </message>
    <message>
        <source>Keine erlaubten Fenster</source>
        <translation>No allowed windows</translation>
    </message>
    <message>
        <source>App wurde beendet</source>
        <translation>App was quit</translation>
    </message>
    <message>
        <source>Nach Absturz beendet</source>
        <translation>Ended after a crash</translation>
    </message>
    <message>
        <source>Nicht beantwortet</source>
        <translation>Not answered</translation>
    </message>
    <message>
        <source>Erledigt</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Teilweise</source>
        <translation>Partly</translation>
    </message>
    <message>
        <source>Nicht geschafft</source>
        <translation>Not done</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Etwas</source>
        <translation>Somewhat</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Ziel</source>
        <translation>Goal</translation>
    </message>
    <message>
        <source>Vesk</source>
        <translation>Vesk</translation>
    </message>
    <message>
        <source>Sessions</source>
        <translation>Sessions</translation>
    </message>
    <message>
        <source>Fokuszeit</source>
        <translation>Focus time</translation>
    </message>
    <message>
        <source>Ziel erreicht</source>
        <translation>Goal reached</translation>
    </message>
    <message>
        <source>Vesk hilfreich</source>
        <translation>Vesk helpful</translation>
    </message>
    <message>
        <source>keine Angabe</source>
        <translation>no answer</translation>
    </message>
    <message>
        <source>meist „Ja“</source>
        <translation>mostly “Yes”</translation>
    </message>
    <message>
        <source>meist „Etwas“</source>
        <translation>mostly “Somewhat”</translation>
    </message>
    <message>
        <source>meist „Nein“</source>
        <translation>mostly “No”</translation>
    </message>
    <message>
        <source>Keine Apps gespeichert</source>
        <translation>No apps saved</translation>
    </message>
    <message>
        <source>Deine Sessions im Rückblick</source>
        <translation>Your sessions at a glance</translation>
    </message>
    <message>
        <source>Dauer, Ziel, Umfrage und Abschluss — alles auf dieser Seite, nichts verlässt dein Gerät.</source>
        <translation>Duration, goal, survey and ending — all on this page, nothing leaves your device.</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Noch kein Verlauf vorhanden</source>
        <translation>No history yet</translation>
    </message>
    <message>
        <source>Einzelne Sessions</source>
        <translation>Sessions</translation>
    </message>
    <message>
        <source>· neueste zuerst</source>
        <translation>· newest first</translation>
    </message>
    <message>
        <source>abgeschlossen</source>
        <translation>completed</translation>
    </message>
    <message>
        <source>gesammelt</source>
        <translation>collected</translation>
    </message>
    <message>
        <source>Starte und beende eine Session, dann erscheint sie hier mit Dauer, Apps und Abschlussgrund.</source>
        <translation>Start and end a session, and it shows up here with its duration, apps and how it ended.</translation>
    </message>
</context>
<context>
    <name>SessionReflectionView</name>
    <message>
        <source>ZEIT ABGELAUFEN</source>
        <translation>TIME’S UP</translation>
    </message>
    <message>
        <source>NOTAUSGANG</source>
        <translation>EMERGENCY EXIT</translation>
    </message>
    <message>
        <source>SESSION VORBEI</source>
        <translation>SESSION OVER</translation>
    </message>
    <message>
        <source>Erledigt</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Teilweise</source>
        <translation>Partly</translation>
    </message>
    <message>
        <source>Nicht geschafft</source>
        <translation>Not done</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Etwas</source>
        <translation>Somewhat</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Ablenkung kam trotzdem durch</source>
        <translation>Distractions got through anyway</translation>
    </message>
    <message>
        <source>VESK hat mich gestört</source>
        <translation>VESK got in my way</translation>
    </message>
    <message>
        <source>Ziel war unklar</source>
        <translation>Goal was unclear</translation>
    </message>
    <message>
        <source>Technisches Problem</source>
        <translation>Technical problem</translation>
    </message>
    <message>
        <source>Anderes</source>
        <translation>Something else</translation>
    </message>
    <message>
        <source>Vesk beendet</source>
        <translation>Vesk ended</translation>
    </message>
    <message>
        <source>ZIEL</source>
        <translation>GOAL</translation>
    </message>
    <message>
        <source>War The Vesk hilfreich?</source>
        <translation>Was The Vesk helpful?</translation>
    </message>
    <message>
        <source>Woran lag es?</source>
        <translation>What got in the way?</translation>
    </message>
    <message>
        <source>Notiz hinzufügen</source>
        <translation>Add a note</translation>
    </message>
    <message>
        <source>Später</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
</context>
<context>
    <name>SessionSetupView</name>
    <message>
        <source>Verlauf</source>
        <translation>History</translation>
    </message>
    <message>
        <source>Suche oben nach Apps, die du mitnehmen willst.</source>
        <translation>Search above for the apps you want to take along.</translation>
    </message>
    <message>
        <source>Problem melden</source>
        <translation>Report a Problem</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Update verfügbar</source>
        <translation>Update available</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
</context>
<context>
    <name>SessionSummaryLine</name>
    <message>
        <source>Unbegrenzt</source>
        <translation>Unlimited</translation>
    </message>
    <message>
        <source>%1 Min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 App</source>
        <translation>%1 app</translation>
    </message>
    <message>
        <source>%1 Apps</source>
        <translation>%1 apps</translation>
    </message>
    <message>
        <source>Hardcore</source>
        <translation>Hardcore</translation>
    </message>
    <message>
        <source>Ziel setzen</source>
        <translation>Set a goal</translation>
    </message>
    <message>
        <source>Ziel: %1</source>
        <translation>Goal: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Allgemein</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Darstellung</source>
        <translation>Appearance</translation>
    </message>
    <message>
        <source>Stage Vesk</source>
        <translation>Stage Vesk</translation>
    </message>
    <message>
        <source>Bildschirme</source>
        <translation>Displays</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Feedback</translation>
    </message>
    <message>
        <source>Sitzung</source>
        <translation>Session</translation>
    </message>
    <message>
        <source>System (Standard)</source>
        <translation>System (default)</translation>
    </message>
    <message>
        <source>Sprache</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Standard-Dauer</source>
        <translation>Default duration</translation>
    </message>
    <message>
        <source>Hardcore-Modus standardmaessig aktiv</source>
        <translation>Hardcore mode on by default</translation>
    </message>
    <message>
        <source>Software-Updates</source>
        <translation>Software updates</translation>
    </message>
    <message>
        <source>Automatisch nach Updates suchen</source>
        <translation>Check for updates automatically</translation>
    </message>
    <message>
        <source>Prüft täglich im Hintergrund.</source>
        <translation>Checks daily in the background.</translation>
    </message>
    <message>
        <source>Updates automatisch installieren</source>
        <translation>Install updates automatically</translation>
    </message>
    <message>
        <source>Lädt &amp; installiert neue Versionen beim Beenden — ohne Nachfrage.</source>
        <translation>Downloads &amp; installs new versions when quitting — without asking.</translation>
    </message>
    <message>
        <source>Build %1</source>
        <translation>Build %1</translation>
    </message>
    <message>
        <source>Jetzt suchen</source>
        <translation>Check Now</translation>
    </message>
    <message>
        <source>Animationen reduzieren</source>
        <translation>Reduce animations</translation>
    </message>
    <message>
        <source>Pausiert das Funkeln der Sterne und den Orbit des Wormvesk-Symbols.</source>
        <translation>Pauses the twinkling stars and the orbit of the Wormvesk symbol.</translation>
    </message>
    <message>
        <source>3 Min</source>
        <translation>3 min</translation>
    </message>
    <message>
        <source>5 Min</source>
        <translation>5 min</translation>
    </message>
    <message>
        <source>10 Min</source>
        <translation>10 min</translation>
    </message>
    <message>
        <source>15 Min</source>
        <translation>15 min</translation>
    </message>
    <message>
        <source>Queue-Aging</source>
        <translation>Queue aging</translation>
    </message>
    <message>
        <source>Apps in der Queue werden nach dieser Zeit visuell als „Brauchst du das noch?“ markiert.</source>
        <translation>After this time, queued apps are marked “Still need this?”.</translation>
    </message>
    <message>
        <source>Sound aktiviert</source>
        <translation>Sound on</translation>
    </message>
    <message>
        <source>Problem melden</source>
        <translation>Report a Problem</translation>
    </message>
    <message>
        <source>Bug, Feedback oder Idee senden</source>
        <translation>Send a bug, feedback or idea</translation>
    </message>
    <message>
        <source>Öffnet ein Formular und sendet deinen Bericht inkl. optionaler Diagnose-Logs an die VESK-Beta-Adresse.</source>
        <translation>Opens a form and sends your report, with optional diagnostic logs, to the VESK beta address.</translation>
    </message>
    <message>
        <source>Anonyme Nutzungsstatistiken teilen</source>
        <translation>Share anonymous usage statistics</translation>
    </message>
    <message>
        <source>Hilft uns, VESK zu verbessern. Jederzeit abschaltbar.</source>
        <translation>Helps us improve VESK. Turn it off any time.</translation>
    </message>
    <message>
        <source>Was wir sehen</source>
        <translation>What we see</translation>
    </message>
    <message>
        <source>Anzahl &amp; ungefähre Dauer von Sessions, Zielerreichung (erledigt/teilweise/nicht), ob VESK geholfen hat, App- &amp; macOS-Version.</source>
        <translation>Number &amp; rough length of sessions, goals reached (done/partly/not), whether VESK helped, app &amp; macOS version.</translation>
    </message>
    <message>
        <source>Was wir nie sehen</source>
        <translation>What we never see</translation>
    </message>
    <message>
        <source>Deinen Namen, welche Apps du nutzt, deine Ziele im Wortlaut, irgendwelche Inhalte, deine IP (keine Speicherung).</source>
        <translation>Your name, which apps you use, the wording of your goals, any content, your IP (not stored).</translation>
    </message>
    <message>
        <source>Datenschutz</source>
        <translation>Privacy</translation>
    </message>
    <message>
        <source>Updates kommen über die Paketverwaltung.</source>
        <translation>Updates come from the package manager.</translation>
    </message>
    <message>
        <source>Diese Installation wird nicht von VESK aktualisiert.</source>
        <translation>This installation is not updated by VESK.</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
</context>
<context>
    <name>SoftwareUpdateView</name>
    <message>
        <source>VESK</source>
        <translation>VESK</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Suche nach Updates …</source>
        <translation>Checking for updates…</translation>
    </message>
    <message>
        <source>NEU IN DIESER VERSION</source>
        <translation>NEW IN THIS VERSION</translation>
    </message>
    <message>
        <source>Update bereit</source>
        <translation>Update ready</translation>
    </message>
    <message>
        <source>Du bist auf dem neuesten Stand</source>
        <translation>You’re up to date</translation>
    </message>
    <message>
        <source>VESK %1 — zuletzt geprüft gerade eben</source>
        <translation>VESK %1 — last checked just now</translation>
    </message>
    <message>
        <source>An</source>
        <translation>On</translation>
    </message>
    <message>
        <source>Aus</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Automatische Updates · %1</source>
        <translation>Automatic updates · %1</translation>
    </message>
    <message>
        <source>Erneut prüfen</source>
        <translation>Check Again</translation>
    </message>
    <message>
        <source>Update fehlgeschlagen</source>
        <translation>Update failed</translation>
    </message>
    <message>
        <source>VESK %1 ist heruntergeladen. Neu starten, um die Installation abzuschließen — deine laufende Session bleibt erhalten.</source>
        <translation>VESK %1 has been downloaded. Restart to finish installing — your running session is kept.</translation>
    </message>
    <message>
        <source>Unbekannter Fehler.</source>
        <translation>Unknown error.</translation>
    </message>
    <message>
        <source>VESK %1 ist da</source>
        <translation>VESK %1 is here</translation>
    </message>
    <message>
        <source>VESK %1 wird geladen …</source>
        <translation>Downloading VESK %1…</translation>
    </message>
    <message>
        <source>%1 von %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
</context>
<context>
    <name>StageVeskBottomControlView</name>
    <message>
        <source>Apps schliessen</source>
        <translation>Close apps</translation>
    </message>
    <message>
        <source>Offen lassen</source>
        <translation>Leave open</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>App zur Session hinzufuegen</source>
        <translation>Add an app to the session</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Verlassen</source>
        <translation>Leave</translation>
    </message>
    <message numerus="yes">
        <source>%n offen</source>
        <translation>
            <numerusform>%n open</numerusform>
            <numerusform>%n open</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StageVeskSettingsControlView</name>
    <message>
        <source>Apps-Leiste (Reinholen)</source>
        <translation>Apps bar (bring in)</translation>
    </message>
    <message>
        <source>Ziel &amp; Modus</source>
        <translation>Goal &amp; mode</translation>
    </message>
    <message>
        <source>Steuerleiste</source>
        <translation>Control bar</translation>
    </message>
    <message>
        <source>Stage Vesk</source>
        <translation>Stage Vesk</translation>
    </message>
    <message>
        <source>Leisten pro Bildschirm</source>
        <translation>Bars per display</translation>
    </message>
    <message>
        <source>Bug melden</source>
        <translation>Report a bug</translation>
    </message>
    <message>
        <source>Problem oder Feedback senden — auch während der Session.</source>
        <translation>Send a problem or feedback — even during the session.</translation>
    </message>
    <message>
        <source>Debug: Hardcore beenden</source>
        <translation>Debug: end hardcore</translation>
    </message>
    <message>
        <source>Nur für Entwicklung: Beendet die Hardcore-Session sofort.</source>
        <translation>Development only: ends the hardcore session at once.</translation>
    </message>
    <message>
        <source>Hauptbildschirm</source>
        <translation>Main display</translation>
    </message>
    <message>
        <source>AN</source>
        <translation>ON</translation>
    </message>
    <message>
        <source>AUS</source>
        <translation>OFF</translation>
    </message>
</context>
<context>
    <name>StageVeskSidebarControlView</name>
    <message>
        <source>GEPARKT</source>
        <translation>PARKED</translation>
    </message>
    <message>
        <source>Klick: auf Bühne</source>
        <translation>Click: onto the stage</translation>
    </message>
    <message>
        <source>Apps-Leiste aufklappen</source>
        <translation>Expand the apps bar</translation>
    </message>
    <message>
        <source>Apps-Leiste einklappen</source>
        <translation>Collapse the apps bar</translation>
    </message>
    <message>
        <source>geparkt</source>
        <translation>parked</translation>
    </message>
    <message>
        <source>Brauchst du das noch?</source>
        <translation>Still need this?</translation>
    </message>
    <message>
        <source>in Queue</source>
        <translation>queued</translation>
    </message>
    <message numerus="yes">
        <source>QUEUE · %n</source>
        <translation>
            <numerusform>QUEUE · %n</numerusform>
            <numerusform>QUEUE · %n</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StageVeskTopControlView</name>
    <message>
        <source>Fokus</source>
        <translation>Focus</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>Tri</source>
        <translation>Tri</translation>
    </message>
    <message>
        <source>Quad</source>
        <translation>Quad</translation>
    </message>
    <message>
        <source>Freestyle</source>
        <translation>Freestyle</translation>
    </message>
    <message>
        <source>◎ ZIEL</source>
        <translation>◎ GOAL</translation>
    </message>
</context>
</TS>
