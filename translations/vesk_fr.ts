<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="de">
<context>
    <name>AboutWindow</name>
    <message>
        <source>Über VESK</source>
        <translation>À propos de VESK</translation>
    </message>
    <message>
        <source>Version %1 (%2)</source>
        <translation>Version %1 (%2)</translation>
    </message>
    <message>
        <source>© 2026 VESK. Alle Rechte vorbehalten.</source>
        <translation>© 2026 VESK. Tous droits réservés.</translation>
    </message>
    <message>
        <source>Desktop: %1</source>
        <translation>Bureau : %1</translation>
    </message>
    <message>
        <source>Simulierter Desktop</source>
        <translation>Bureau simulé</translation>
    </message>
    <message>
        <source>X11-Desktop</source>
        <translation>Bureau X11</translation>
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
        <translation>Terminer la session</translation>
    </message>
</context>
<context>
    <name>AnalyticsNotice</name>
    <message>
        <source>Anonyme Nutzungsdaten sind an</source>
        <translation>Données d’usage anonymes activées</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>Verstanden</source>
        <translation>Compris</translation>
    </message>
    <message>
        <source>VESK misst nur, </source>
        <translation>VESK mesure seulement </translation>
    </message>
    <message>
        <source>dass</source>
        <translation>que</translation>
    </message>
    <message>
        <source> du fokussierst — nie </source>
        <translation> tu te concentres — jamais </translation>
    </message>
    <message>
        <source>woran</source>
        <translation>sur quoi</translation>
    </message>
    <message>
        <source>. Keine App-Namen, keine Ziele, keine Inhalte.</source>
        <translation>. Aucun nom d’app, aucun objectif, aucun contenu.</translation>
    </message>
</context>
<context>
    <name>AppLaunchPromptView</name>
    <message>
        <source>%1 in den Vesk holen?</source>
        <translation>Ajouter %1 au Vesk&#xa0;?</translation>
    </message>
    <message>
        <source>Hinzufügen</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Blockieren</source>
        <translation>Bloquer</translation>
    </message>
</context>
<context>
    <name>AppSearchDropdown</name>
    <message>
        <source>Keine weiteren Apps gefunden</source>
        <translation>Aucune autre app trouvée</translation>
    </message>
    <message>
        <source>Apps hinzufuegen</source>
        <translation>Ajouter des apps</translation>
    </message>
    <message>
        <source>Suche loeschen</source>
        <translation>Effacer la recherche</translation>
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
        <translation>Avis</translation>
    </message>
    <message>
        <source>Idee</source>
        <translation>Idée</translation>
    </message>
    <message>
        <source>ART</source>
        <translation>TYPE</translation>
    </message>
    <message>
        <source>Problem melden</source>
        <translation>Signaler un problème</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Diagnose-Logs anhängen</source>
        <translation>Joindre les journaux de diagnostic</translation>
    </message>
    <message>
        <source>Technische Details der aktuellen Sitzung — keine Inhalte deiner Apps. Anonym ans VESK-Beta-Team.</source>
        <translation>Détails techniques de la session en cours — aucun contenu de tes apps. Anonyme, pour l’équipe bêta de VESK.</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Senden</source>
        <translation>Envoyer</translation>
    </message>
    <message>
        <source>Danke! Dein Bericht wurde gesendet.</source>
        <translation>Merci&#xa0;! Ton rapport a bien été envoyé.</translation>
    </message>
    <message>
        <source>Das VESK-Beta-Team meldet sich, falls Rückfragen kommen.</source>
        <translation>L’équipe bêta de VESK te recontactera si elle a des questions.</translation>
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
        <translation>Illimitée</translation>
    </message>
</context>
<context>
    <name>FeedUpdater</name>
    <message>
        <source>Der Update-Feed ist nicht erreichbar: %1</source>
        <translation>Le flux des mises à jour est injoignable : %1</translation>
    </message>
    <message>
        <source>Der Update-Feed ist ungültig.</source>
        <translation>Le flux des mises à jour n’est pas valide.</translation>
    </message>
    <message>
        <source>Version %1 ist die neueste Version.</source>
        <translation>La version %1 est la plus récente.</translation>
    </message>
    <message>
        <source>Das Update konnte nicht geladen werden: %1</source>
        <translation>Impossible de télécharger la mise à jour : %1</translation>
    </message>
    <message>
        <source>Das geladene Update ist unvollständig.</source>
        <translation>La mise à jour téléchargée est incomplète.</translation>
    </message>
    <message>
        <source>Das geladene Update ist beschädigt.</source>
        <translation>La mise à jour téléchargée est endommagée.</translation>
    </message>
    <message>
        <source>Das Update konnte nicht installiert werden.</source>
        <translation>Impossible d’installer la mise à jour.</translation>
    </message>
    <message>
        <source>Das geladene Update ist größer als angekündigt.</source>
        <translation>La mise à jour téléchargée est plus grande que prévu.</translation>
    </message>
    <message>
        <source>Die Signatur des Updates ist ungültig.</source>
        <translation>La signature de la mise à jour n’est pas valide.</translation>
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
        <translation>Mode hardcore&#xa0;: la session ne s’arrête qu’avec le minuteur ou un redémarrage.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Über VESK</source>
        <translation>À propos de VESK</translation>
    </message>
    <message>
        <source>Nach Updates suchen…</source>
        <translation>Rechercher des mises à jour…</translation>
    </message>
    <message>
        <source>Einstellungen…</source>
        <translation>Réglages…</translation>
    </message>
    <message>
        <source>VESK beenden</source>
        <translation>Quitter VESK</translation>
    </message>
    <message>
        <source>Fenster</source>
        <translation>Fenêtre</translation>
    </message>
    <message>
        <source>Minimieren</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>MetaPopoverView</name>
    <message>
        <source>Fuer diese Session</source>
        <translation>Pour cette session</translation>
    </message>
    <message>
        <source>Schliessen</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>DAUER</source>
        <translation>DURÉE</translation>
    </message>
    <message>
        <source>Hardcore-Modus</source>
        <translation>Mode hardcore</translation>
    </message>
    <message>
        <source>Kein vorzeitiges Beenden moeglich</source>
        <translation>Impossible d’arrêter avant la fin</translation>
    </message>
    <message>
        <source>Ziel — optional</source>
        <translation>Objectif — facultatif</translation>
    </message>
    <message>
        <source>Was willst du erledigen?</source>
        <translation>Qu’est-ce que tu veux accomplir&#xa0;?</translation>
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
        <translation>Autoriser</translation>
    </message>
    <message>
        <source>Bedienungshilfen erforderlich</source>
        <translation>Accessibilité requise</translation>
    </message>
    <message>
        <source>VESK braucht Bedienungshilfen für Minimieren, Wiederherstellen und Monitor-Wechsel. Wenn der Schalter schon blau ist: VESK mit dem Minus-Button entfernen, mit Plus neu hinzufügen und VESK neu starten.</source>
        <translation>VESK a besoin de l’Accessibilité pour réduire, restaurer et changer d’écran. Si l’interrupteur est déjà bleu&#xa0;: retire VESK avec le bouton moins, ajoute-le de nouveau avec plus et redémarre VESK.</translation>
    </message>
    <message>
        <source>Eingabeüberwachung erforderlich</source>
        <translation>Surveillance de l’entrée requise</translation>
    </message>
    <message>
        <source>VESK braucht Eingabeüberwachung für Fensterbuttons, Klick-Blocking und den Notausgang.</source>
        <translation>VESK a besoin de la Surveillance de l’entrée pour les boutons de fenêtre, le blocage des clics et la sortie de secours.</translation>
    </message>
    <message>
        <source>Eingabeüberwachung und Bedienungshilfen erforderlich</source>
        <translation>Surveillance de l’entrée et Accessibilité requises</translation>
    </message>
    <message>
        <source>VESK braucht Eingabeüberwachung für Fensterbuttons und Bedienungshilfen für Minimieren und Monitor-Wechsel. Wenn Bedienungshilfen schon aktiv wirkt: VESK mit dem Minus-Button entfernen, mit Plus neu hinzufügen und VESK neu starten.</source>
        <translation>VESK a besoin de la Surveillance de l’entrée pour les boutons de fenêtre et de l’Accessibilité pour réduire et changer d’écran. Si l’Accessibilité semble déjà active&#xa0;: retire VESK avec le bouton moins, ajoute-le de nouveau avec plus et redémarre VESK.</translation>
    </message>
    <message>
        <source>Berechtigungen erteilen</source>
        <translation>Autoriser</translation>
    </message>
    <message>
        <source>VESK neu starten</source>
        <translation>Redémarrer VESK</translation>
    </message>
</context>
<context>
    <name>QuickAccessAppTile</name>
    <message>
        <source>%1 ist auf einem anderen Schreibtisch</source>
        <translation>%1 est sur un autre bureau</translation>
    </message>
    <message>
        <source>%1 öffnen</source>
        <translation>Ouvrir %1</translation>
    </message>
    <message>
        <source>Aus Vesk entfernen</source>
        <translation>Retirer du Vesk</translation>
    </message>
</context>
<context>
    <name>QuickAccessPanelView</name>
    <message>
        <source>Keine Apps im Vesk.</source>
        <translation>Aucune app dans le Vesk.</translation>
    </message>
    <message>
        <source>Apps</source>
        <translation>Apps</translation>
    </message>
    <message>
        <source>im Vesk</source>
        <translation>dans le Vesk</translation>
    </message>
    <message>
        <source>Panel schliessen</source>
        <translation>Fermer le panneau</translation>
    </message>
    <message>
        <source>Fertig</source>
        <translation>Terminé</translation>
    </message>
    <message numerus="yes">
        <source>%n Apps im Vesk</source>
        <translation>
            <numerusform>%n app dans le Vesk</numerusform>
            <numerusform>%n apps dans le Vesk</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ScreenFunctionTogglesView</name>
    <message>
        <source>Hauptbildschirm</source>
        <translation>Écran principal</translation>
    </message>
    <message>
        <source>Apps-Leiste (Reinholen)</source>
        <translation>Barre d’apps (rappel)</translation>
    </message>
    <message>
        <source>Ziel &amp; Modus</source>
        <translation>Objectif et mode</translation>
    </message>
    <message>
        <source>Steuerleiste</source>
        <translation>Barre de contrôle</translation>
    </message>
</context>
<context>
    <name>SelectedAppTile</name>
    <message>
        <source>Aus Auswahl entfernen</source>
        <translation>Retirer de la sélection</translation>
    </message>
</context>
<context>
    <name>SessionHUDAppChip</name>
    <message>
        <source>%1 öffnen</source>
        <translation>Ouvrir %1</translation>
    </message>
    <message>
        <source>Sichtbar</source>
        <translation>Visible</translation>
    </message>
    <message>
        <source>Verdeckt</source>
        <translation>Masquée</translation>
    </message>
    <message>
        <source>Minimiert</source>
        <translation>Réduite</translation>
    </message>
    <message>
        <source>Auf anderem Schreibtisch</source>
        <translation>Sur un autre bureau</translation>
    </message>
    <message>
        <source>Nicht gestartet</source>
        <translation>Non lancée</translation>
    </message>
</context>
<context>
    <name>SessionHUDView</name>
    <message>
        <source>Keine App offen</source>
        <translation>Aucune app ouverte</translation>
    </message>
    <message>
        <source>Weitere erlaubte Apps anzeigen</source>
        <translation>Afficher d’autres apps autorisées</translation>
    </message>
    <message>
        <source>+%1</source>
        <translation>+%1</translation>
    </message>
    <message>
        <source>VESK verlassen?</source>
        <translation>Quitter VESK&#xa0;?</translation>
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
        <translation>Objectif</translation>
    </message>
    <message>
        <source>Apps</source>
        <translation>Apps</translation>
    </message>
    <message>
        <source>Screenshot auf Desktop speichern</source>
        <translation>Enregistrer une capture sur le bureau</translation>
    </message>
    <message>
        <source>VESK verlassen</source>
        <translation>Quitter VESK</translation>
    </message>
    <message>
        <source>App ist auf anderem Schreibtisch</source>
        <translation>L’app est sur un autre bureau</translation>
    </message>
    <message>
        <source>Screenshot gespeichert</source>
        <translation>Capture enregistrée</translation>
    </message>
    <message>
        <source>Screenshot fehlgeschlagen</source>
        <translation>Échec de la capture</translation>
    </message>
    <message>
        <source>VESK aktiv</source>
        <translation>VESK actif</translation>
    </message>
    <message>
        <source>ZIEL</source>
        <translation>OBJECTIF</translation>
    </message>
</context>
<context>
    <name>SessionHistoryView</name>
    <message>
        <source>Unbekannter Abschluss</source>
        <translation>Fin inconnue</translation>
    </message>
    <message>
        <source>Timer abgelaufen</source>
        <translation>Minuteur écoulé</translation>
    </message>
    <message>
        <source>Manuell beendet</source>
        <translation>Arrêtée à la main</translation>
    </message>
    <message>
        <source>Notausgang</source>
        <translation>Sortie de secours</translation>
    </message>
    <message>
        <source>Keine erlaubten Fenster</source>
        <translation>Aucune fenêtre autorisée</translation>
    </message>
    <message>
        <source>App wurde beendet</source>
        <translation>App quittée</translation>
    </message>
    <message>
        <source>Nach Absturz beendet</source>
        <translation>Arrêtée après un plantage</translation>
    </message>
    <message>
        <source>Nicht beantwortet</source>
        <translation>Sans réponse</translation>
    </message>
    <message>
        <source>Erledigt</source>
        <translation>Fait</translation>
    </message>
    <message>
        <source>Teilweise</source>
        <translation>En partie</translation>
    </message>
    <message>
        <source>Nicht geschafft</source>
        <translation>Pas réussi</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>Etwas</source>
        <translation>Un peu</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Ziel</source>
        <translation>Objectif</translation>
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
        <translation>Temps de focus</translation>
    </message>
    <message>
        <source>Ziel erreicht</source>
        <translation>Objectif atteint</translation>
    </message>
    <message>
        <source>Vesk hilfreich</source>
        <translation>Vesk utile</translation>
    </message>
    <message>
        <source>keine Angabe</source>
        <translation>sans réponse</translation>
    </message>
    <message>
        <source>meist „Ja“</source>
        <translation>surtout «&#xa0;Oui&#xa0;»</translation>
    </message>
    <message>
        <source>meist „Etwas“</source>
        <translation>surtout «&#xa0;Un peu&#xa0;»</translation>
    </message>
    <message>
        <source>meist „Nein“</source>
        <translation>surtout «&#xa0;Non&#xa0;»</translation>
    </message>
    <message>
        <source>Keine Apps gespeichert</source>
        <translation>Aucune app enregistrée</translation>
    </message>
    <message>
        <source>Deine Sessions im Rückblick</source>
        <translation>Tes sessions en un coup d’œil</translation>
    </message>
    <message>
        <source>Dauer, Ziel, Umfrage und Abschluss — alles auf dieser Seite, nichts verlässt dein Gerät.</source>
        <translation>Durée, objectif, sondage et fin — tout sur cette page, rien ne quitte ton appareil.</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Noch kein Verlauf vorhanden</source>
        <translation>Pas encore d’historique</translation>
    </message>
    <message>
        <source>Einzelne Sessions</source>
        <translation>Sessions une à une</translation>
    </message>
    <message>
        <source>· neueste zuerst</source>
        <translation>· les plus récentes d’abord</translation>
    </message>
    <message>
        <source>abgeschlossen</source>
        <translation>terminées</translation>
    </message>
    <message>
        <source>gesammelt</source>
        <translation>cumulé</translation>
    </message>
    <message>
        <source>Starte und beende eine Session, dann erscheint sie hier mit Dauer, Apps und Abschlussgrund.</source>
        <translation>Lance puis termine une session : elle apparaîtra ici avec sa durée, ses apps et sa raison de fin.</translation>
    </message>
</context>
<context>
    <name>SessionReflectionView</name>
    <message>
        <source>ZEIT ABGELAUFEN</source>
        <translation>TEMPS ÉCOULÉ</translation>
    </message>
    <message>
        <source>NOTAUSGANG</source>
        <translation>SORTIE DE SECOURS</translation>
    </message>
    <message>
        <source>SESSION VORBEI</source>
        <translation>SESSION TERMINÉE</translation>
    </message>
    <message>
        <source>Erledigt</source>
        <translation>Fait</translation>
    </message>
    <message>
        <source>Teilweise</source>
        <translation>En partie</translation>
    </message>
    <message>
        <source>Nicht geschafft</source>
        <translation>Pas réussi</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>Etwas</source>
        <translation>Un peu</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Ablenkung kam trotzdem durch</source>
        <translation>Des distractions sont passées quand même</translation>
    </message>
    <message>
        <source>VESK hat mich gestört</source>
        <translation>VESK m’a gêné</translation>
    </message>
    <message>
        <source>Ziel war unklar</source>
        <translation>L’objectif n’était pas clair</translation>
    </message>
    <message>
        <source>Technisches Problem</source>
        <translation>Problème technique</translation>
    </message>
    <message>
        <source>Anderes</source>
        <translation>Autre chose</translation>
    </message>
    <message>
        <source>Vesk beendet</source>
        <translation>Vesk terminé</translation>
    </message>
    <message>
        <source>ZIEL</source>
        <translation>OBJECTIF</translation>
    </message>
    <message>
        <source>War The Vesk hilfreich?</source>
        <translation>The Vesk t’a-t-il aidé&#xa0;?</translation>
    </message>
    <message>
        <source>Woran lag es?</source>
        <translation>Qu’est-ce qui a coincé&#xa0;?</translation>
    </message>
    <message>
        <source>Notiz hinzufügen</source>
        <translation>Ajouter une note</translation>
    </message>
    <message>
        <source>Später</source>
        <translation>Plus tard</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Enregistrer</translation>
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
        <translation>Historique</translation>
    </message>
    <message>
        <source>Suche oben nach Apps, die du mitnehmen willst.</source>
        <translation>Cherche ci-dessus les apps à emmener.</translation>
    </message>
    <message>
        <source>Problem melden</source>
        <translation>Signaler un problème</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>Update verfügbar</source>
        <translation>Mise à jour disponible</translation>
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
        <translation>Illimitée</translation>
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
        <translation>Fixer un objectif</translation>
    </message>
    <message>
        <source>Ziel: %1</source>
        <translation>Objectif&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Allgemein</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>Darstellung</source>
        <translation>Apparence</translation>
    </message>
    <message>
        <source>Stage Vesk</source>
        <translation>Stage Vesk</translation>
    </message>
    <message>
        <source>Bildschirme</source>
        <translation>Écrans</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Son</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Avis</translation>
    </message>
    <message>
        <source>Sitzung</source>
        <translation>Session</translation>
    </message>
    <message>
        <source>System (Standard)</source>
        <translation>Système (par défaut)</translation>
    </message>
    <message>
        <source>Sprache</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>Standard-Dauer</source>
        <translation>Durée par défaut</translation>
    </message>
    <message>
        <source>Hardcore-Modus standardmaessig aktiv</source>
        <translation>Mode hardcore activé par défaut</translation>
    </message>
    <message>
        <source>Software-Updates</source>
        <translation>Mises à jour</translation>
    </message>
    <message>
        <source>Automatisch nach Updates suchen</source>
        <translation>Rechercher les mises à jour automatiquement</translation>
    </message>
    <message>
        <source>Prüft täglich im Hintergrund.</source>
        <translation>Vérifie chaque jour en arrière-plan.</translation>
    </message>
    <message>
        <source>Updates automatisch installieren</source>
        <translation>Installer les mises à jour automatiquement</translation>
    </message>
    <message>
        <source>Lädt &amp; installiert neue Versionen beim Beenden — ohne Nachfrage.</source>
        <translation>Télécharge et installe les nouvelles versions à la fermeture — sans demander.</translation>
    </message>
    <message>
        <source>Build %1</source>
        <translation>Build %1</translation>
    </message>
    <message>
        <source>Jetzt suchen</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Animationen reduzieren</source>
        <translation>Réduire les animations</translation>
    </message>
    <message>
        <source>Pausiert das Funkeln der Sterne und den Orbit des Wormvesk-Symbols.</source>
        <translation>Met en pause le scintillement des étoiles et l’orbite du symbole Wormvesk.</translation>
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
        <translation>Vieillissement de la file</translation>
    </message>
    <message>
        <source>Apps in der Queue werden nach dieser Zeit visuell als „Brauchst du das noch?“ markiert.</source>
        <translation>Passé ce délai, les apps de la file sont marquées «&#xa0;Tu en as encore besoin&#xa0;?&#xa0;».</translation>
    </message>
    <message>
        <source>Sound aktiviert</source>
        <translation>Son activé</translation>
    </message>
    <message>
        <source>Problem melden</source>
        <translation>Signaler un problème</translation>
    </message>
    <message>
        <source>Bug, Feedback oder Idee senden</source>
        <translation>Envoyer un bug, un avis ou une idée</translation>
    </message>
    <message>
        <source>Öffnet ein Formular und sendet deinen Bericht inkl. optionaler Diagnose-Logs an die VESK-Beta-Adresse.</source>
        <translation>Ouvre un formulaire et envoie ton rapport, avec les journaux de diagnostic si tu veux, à l’adresse bêta de VESK.</translation>
    </message>
    <message>
        <source>Anonyme Nutzungsstatistiken teilen</source>
        <translation>Partager des statistiques d’usage anonymes</translation>
    </message>
    <message>
        <source>Hilft uns, VESK zu verbessern. Jederzeit abschaltbar.</source>
        <translation>Nous aide à améliorer VESK. Désactivable à tout moment.</translation>
    </message>
    <message>
        <source>Was wir sehen</source>
        <translation>Ce que nous voyons</translation>
    </message>
    <message>
        <source>Anzahl &amp; ungefähre Dauer von Sessions, Zielerreichung (erledigt/teilweise/nicht), ob VESK geholfen hat, App- &amp; macOS-Version.</source>
        <translation>Nombre et durée approximative des sessions, objectifs atteints (fait/en partie/non), si VESK t’a aidé, versions de l’app et de macOS.</translation>
    </message>
    <message>
        <source>Was wir nie sehen</source>
        <translation>Ce que nous ne voyons jamais</translation>
    </message>
    <message>
        <source>Deinen Namen, welche Apps du nutzt, deine Ziele im Wortlaut, irgendwelche Inhalte, deine IP (keine Speicherung).</source>
        <translation>Ton nom, les apps que tu utilises, le texte de tes objectifs, le moindre contenu, ton IP (non enregistrée).</translation>
    </message>
    <message>
        <source>Datenschutz</source>
        <translation>Confidentialité</translation>
    </message>
    <message>
        <source>Updates kommen über die Paketverwaltung.</source>
        <translation>Les mises à jour viennent du gestionnaire de paquets.</translation>
    </message>
    <message>
        <source>Diese Installation wird nicht von VESK aktualisiert.</source>
        <translation>Cette installation n’est pas mise à jour par VESK.</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Einstellungen</source>
        <translation>Réglages</translation>
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
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Suche nach Updates …</source>
        <translation>Recherche de mises à jour…</translation>
    </message>
    <message>
        <source>NEU IN DIESER VERSION</source>
        <translation>NOUVEAUTÉS DE CETTE VERSION</translation>
    </message>
    <message>
        <source>Update bereit</source>
        <translation>Mise à jour prête</translation>
    </message>
    <message>
        <source>Du bist auf dem neuesten Stand</source>
        <translation>Tu es à jour</translation>
    </message>
    <message>
        <source>VESK %1 — zuletzt geprüft gerade eben</source>
        <translation>VESK %1 — vérifié à l’instant</translation>
    </message>
    <message>
        <source>An</source>
        <translation>Activées</translation>
    </message>
    <message>
        <source>Aus</source>
        <translation>Désactivées</translation>
    </message>
    <message>
        <source>Automatische Updates · %1</source>
        <translation>Mises à jour automatiques · %1</translation>
    </message>
    <message>
        <source>Erneut prüfen</source>
        <translation>Vérifier à nouveau</translation>
    </message>
    <message>
        <source>Update fehlgeschlagen</source>
        <translation>Échec de la mise à jour</translation>
    </message>
    <message>
        <source>VESK %1 ist heruntergeladen. Neu starten, um die Installation abzuschließen — deine laufende Session bleibt erhalten.</source>
        <translation>VESK %1 est téléchargé. Redémarre pour terminer l’installation — ta session en cours est conservée.</translation>
    </message>
    <message>
        <source>Unbekannter Fehler.</source>
        <translation>Erreur inconnue.</translation>
    </message>
    <message>
        <source>VESK %1 ist da</source>
        <translation>VESK %1 est là</translation>
    </message>
    <message>
        <source>VESK %1 wird geladen …</source>
        <translation>Téléchargement de VESK %1…</translation>
    </message>
    <message>
        <source>%1 von %2</source>
        <translation>%1 sur %2</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1&#xa0;%</translation>
    </message>
</context>
<context>
    <name>StageVeskBottomControlView</name>
    <message>
        <source>Apps schliessen</source>
        <translation>Fermer les apps</translation>
    </message>
    <message>
        <source>Offen lassen</source>
        <translation>Laisser ouvertes</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>App zur Session hinzufuegen</source>
        <translation>Ajouter une app à la session</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>Verlassen</source>
        <translation>Quitter</translation>
    </message>
    <message numerus="yes">
        <source>%n offen</source>
        <translation>
            <numerusform>%n ouverte</numerusform>
            <numerusform>%n ouvertes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StageVeskSettingsControlView</name>
    <message>
        <source>Apps-Leiste (Reinholen)</source>
        <translation>Barre d’apps (rappel)</translation>
    </message>
    <message>
        <source>Ziel &amp; Modus</source>
        <translation>Objectif et mode</translation>
    </message>
    <message>
        <source>Steuerleiste</source>
        <translation>Barre de contrôle</translation>
    </message>
    <message>
        <source>Stage Vesk</source>
        <translation>Stage Vesk</translation>
    </message>
    <message>
        <source>Leisten pro Bildschirm</source>
        <translation>Barres par écran</translation>
    </message>
    <message>
        <source>Bug melden</source>
        <translation>Signaler un bug</translation>
    </message>
    <message>
        <source>Problem oder Feedback senden — auch während der Session.</source>
        <translation>Envoie un problème ou un avis — même pendant la session.</translation>
    </message>
    <message>
        <source>Debug: Hardcore beenden</source>
        <translation>Debug&#xa0;: arrêter le hardcore</translation>
    </message>
    <message>
        <source>Nur für Entwicklung: Beendet die Hardcore-Session sofort.</source>
        <translation>Pour le développement uniquement&#xa0;: arrête tout de suite la session hardcore.</translation>
    </message>
    <message>
        <source>Hauptbildschirm</source>
        <translation>Écran principal</translation>
    </message>
    <message>
        <source>AN</source>
        <translation>OUI</translation>
    </message>
    <message>
        <source>AUS</source>
        <translation>NON</translation>
    </message>
</context>
<context>
    <name>StageVeskSidebarControlView</name>
    <message>
        <source>GEPARKT</source>
        <translation>EN ATTENTE</translation>
    </message>
    <message>
        <source>Klick: auf Bühne</source>
        <translation>Clic&#xa0;: sur scène</translation>
    </message>
    <message>
        <source>Apps-Leiste aufklappen</source>
        <translation>Déplier la barre d’apps</translation>
    </message>
    <message>
        <source>Apps-Leiste einklappen</source>
        <translation>Replier la barre d’apps</translation>
    </message>
    <message>
        <source>geparkt</source>
        <translation>en attente</translation>
    </message>
    <message>
        <source>Brauchst du das noch?</source>
        <translation>Tu en as encore besoin&#xa0;?</translation>
    </message>
    <message>
        <source>in Queue</source>
        <translation>dans la file</translation>
    </message>
    <message numerus="yes">
        <source>QUEUE · %n</source>
        <translation>
            <numerusform>FILE · %n</numerusform>
            <numerusform>FILE · %n</numerusform>
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
        <translation>Partagé</translation>
    </message>
    <message>
        <source>Tri</source>
        <translation>Trois</translation>
    </message>
    <message>
        <source>Quad</source>
        <translation>Quatre</translation>
    </message>
    <message>
        <source>Freestyle</source>
        <translation>Libre</translation>
    </message>
    <message>
        <source>◎ ZIEL</source>
        <translation>◎ OBJECTIF</translation>
    </message>
</context>
</TS>
