<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="de">
<context>
    <name>AboutWindow</name>
    <message>
        <source>Über VESK</source>
        <translation>Informazioni su VESK</translation>
    </message>
    <message>
        <source>Version %1 (%2)</source>
        <translation>Versione %1 (%2)</translation>
    </message>
    <message>
        <source>© 2026 VESK. Alle Rechte vorbehalten.</source>
        <translation>© 2026 VESK. Tutti i diritti riservati.</translation>
    </message>
    <message>
        <source>Desktop: %1</source>
        <translation>Desktop: %1</translation>
    </message>
    <message>
        <source>Simulierter Desktop</source>
        <translation>Desktop simulato</translation>
    </message>
    <message>
        <source>X11-Desktop</source>
        <translation>Desktop X11</translation>
    </message>
</context>
<context>
    <name>ActiveSessionView</name>
    <message>
        <source>Session aktiv</source>
        <translation>Sessione attiva</translation>
    </message>
    <message>
        <source>Session beenden</source>
        <translation>Termina sessione</translation>
    </message>
</context>
<context>
    <name>AnalyticsNotice</name>
    <message>
        <source>Anonyme Nutzungsdaten sind an</source>
        <translation>I dati d’uso anonimi sono attivi</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>Verstanden</source>
        <translation>Ho capito</translation>
    </message>
    <message>
        <source>VESK misst nur, </source>
        <translation>VESK misura solo </translation>
    </message>
    <message>
        <source>dass</source>
        <translation>che</translation>
    </message>
    <message>
        <source> du fokussierst — nie </source>
        <translation> ti concentri — mai </translation>
    </message>
    <message>
        <source>woran</source>
        <translation>su cosa</translation>
    </message>
    <message>
        <source>. Keine App-Namen, keine Ziele, keine Inhalte.</source>
        <translation>. Niente nomi di app, obiettivi o contenuti.</translation>
    </message>
</context>
<context>
    <name>AppLaunchPromptView</name>
    <message>
        <source>%1 in den Vesk holen?</source>
        <translation>Portare %1 nel Vesk?</translation>
    </message>
    <message>
        <source>Hinzufügen</source>
        <translation>Aggiungi</translation>
    </message>
    <message>
        <source>Blockieren</source>
        <translation>Blocca</translation>
    </message>
</context>
<context>
    <name>AppSearchDropdown</name>
    <message>
        <source>Keine weiteren Apps gefunden</source>
        <translation>Nessun’altra app trovata</translation>
    </message>
    <message>
        <source>Apps hinzufuegen</source>
        <translation>Aggiungi app</translation>
    </message>
    <message>
        <source>Suche loeschen</source>
        <translation>Cancella ricerca</translation>
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
        <translation>TIPO</translation>
    </message>
    <message>
        <source>Problem melden</source>
        <translation>Segnala un problema</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Diagnose-Logs anhängen</source>
        <translation>Allega i log di diagnostica</translation>
    </message>
    <message>
        <source>Technische Details der aktuellen Sitzung — keine Inhalte deiner Apps. Anonym ans VESK-Beta-Team.</source>
        <translation>Dettagli tecnici della sessione in corso — nessun contenuto delle tue app. In forma anonima al team beta di VESK.</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Senden</source>
        <translation>Invia</translation>
    </message>
    <message>
        <source>Danke! Dein Bericht wurde gesendet.</source>
        <translation>Grazie! La tua segnalazione è stata inviata.</translation>
    </message>
    <message>
        <source>Das VESK-Beta-Team meldet sich, falls Rückfragen kommen.</source>
        <translation>Il team beta di VESK ti contatterà se avrà domande.</translation>
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
        <translation>Senza limite</translation>
    </message>
</context>
<context>
    <name>FeedUpdater</name>
    <message>
        <source>Der Update-Feed ist nicht erreichbar: %1</source>
        <translation>Il feed degli aggiornamenti non è raggiungibile: %1</translation>
    </message>
    <message>
        <source>Der Update-Feed ist ungültig.</source>
        <translation>Il feed degli aggiornamenti non è valido.</translation>
    </message>
    <message>
        <source>Version %1 ist die neueste Version.</source>
        <translation>La versione %1 è la più recente.</translation>
    </message>
    <message>
        <source>Das Update konnte nicht geladen werden: %1</source>
        <translation>Non è stato possibile scaricare l’aggiornamento: %1</translation>
    </message>
    <message>
        <source>Das geladene Update ist unvollständig.</source>
        <translation>L’aggiornamento scaricato è incompleto.</translation>
    </message>
    <message>
        <source>Das geladene Update ist beschädigt.</source>
        <translation>L’aggiornamento scaricato è danneggiato.</translation>
    </message>
    <message>
        <source>Das Update konnte nicht installiert werden.</source>
        <translation>Non è stato possibile installare l’aggiornamento.</translation>
    </message>
    <message>
        <source>Das geladene Update ist größer als angekündigt.</source>
        <translation>L’aggiornamento scaricato è più grande di quanto annunciato.</translation>
    </message>
    <message>
        <source>Die Signatur des Updates ist ungültig.</source>
        <translation>La firma dell’aggiornamento non è valida.</translation>
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
        <translation>Modalità hardcore: la sessione finisce solo con il timer o un riavvio.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Über VESK</source>
        <translation>Informazioni su VESK</translation>
    </message>
    <message>
        <source>Nach Updates suchen…</source>
        <translation>Verifica aggiornamenti…</translation>
    </message>
    <message>
        <source>Einstellungen…</source>
        <translation>Impostazioni…</translation>
    </message>
    <message>
        <source>VESK beenden</source>
        <translation>Esci da VESK</translation>
    </message>
    <message>
        <source>Fenster</source>
        <translation>Finestra</translation>
    </message>
    <message>
        <source>Minimieren</source>
        <translation>Riduci a icona</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Chiudi</translation>
    </message>
</context>
<context>
    <name>MetaPopoverView</name>
    <message>
        <source>Fuer diese Session</source>
        <translation>Per questa sessione</translation>
    </message>
    <message>
        <source>Schliessen</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>DAUER</source>
        <translation>DURATA</translation>
    </message>
    <message>
        <source>Hardcore-Modus</source>
        <translation>Modalità hardcore</translation>
    </message>
    <message>
        <source>Kein vorzeitiges Beenden moeglich</source>
        <translation>Niente uscite anticipate</translation>
    </message>
    <message>
        <source>Ziel — optional</source>
        <translation>Obiettivo — facoltativo</translation>
    </message>
    <message>
        <source>Was willst du erledigen?</source>
        <translation>Cosa vuoi portare a termine?</translation>
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
        <translation>Concedi autorizzazione</translation>
    </message>
    <message>
        <source>Bedienungshilfen erforderlich</source>
        <translation>Serve Accessibilità</translation>
    </message>
    <message>
        <source>VESK braucht Bedienungshilfen für Minimieren, Wiederherstellen und Monitor-Wechsel. Wenn der Schalter schon blau ist: VESK mit dem Minus-Button entfernen, mit Plus neu hinzufügen und VESK neu starten.</source>
        <translation>VESK ha bisogno di Accessibilità per ridurre a icona, ripristinare e cambiare monitor. Se l’interruttore è già blu: rimuovi VESK con il tasto meno, aggiungilo di nuovo con più e riavvia VESK.</translation>
    </message>
    <message>
        <source>Eingabeüberwachung erforderlich</source>
        <translation>Serve Monitoraggio input</translation>
    </message>
    <message>
        <source>VESK braucht Eingabeüberwachung für Fensterbuttons, Klick-Blocking und den Notausgang.</source>
        <translation>VESK ha bisogno di Monitoraggio input per i pulsanti delle finestre, il blocco dei clic e l’uscita di emergenza.</translation>
    </message>
    <message>
        <source>Eingabeüberwachung und Bedienungshilfen erforderlich</source>
        <translation>Servono Monitoraggio input e Accessibilità</translation>
    </message>
    <message>
        <source>VESK braucht Eingabeüberwachung für Fensterbuttons und Bedienungshilfen für Minimieren und Monitor-Wechsel. Wenn Bedienungshilfen schon aktiv wirkt: VESK mit dem Minus-Button entfernen, mit Plus neu hinzufügen und VESK neu starten.</source>
        <translation>VESK ha bisogno di Monitoraggio input per i pulsanti delle finestre e di Accessibilità per ridurre a icona e cambiare monitor. Se Accessibilità sembra già attiva: rimuovi VESK con il tasto meno, aggiungilo di nuovo con più e riavvia VESK.</translation>
    </message>
    <message>
        <source>Berechtigungen erteilen</source>
        <translation>Concedi autorizzazioni</translation>
    </message>
    <message>
        <source>VESK neu starten</source>
        <translation>Riavvia VESK</translation>
    </message>
</context>
<context>
    <name>QuickAccessAppTile</name>
    <message>
        <source>%1 ist auf einem anderen Schreibtisch</source>
        <translation>%1 è su un’altra scrivania</translation>
    </message>
    <message>
        <source>%1 öffnen</source>
        <translation>Apri %1</translation>
    </message>
    <message>
        <source>Aus Vesk entfernen</source>
        <translation>Togli dal Vesk</translation>
    </message>
</context>
<context>
    <name>QuickAccessPanelView</name>
    <message>
        <source>Keine Apps im Vesk.</source>
        <translation>Nessuna app nel Vesk.</translation>
    </message>
    <message>
        <source>Apps</source>
        <translation>App</translation>
    </message>
    <message>
        <source>im Vesk</source>
        <translation>nel Vesk</translation>
    </message>
    <message>
        <source>Panel schliessen</source>
        <translation>Chiudi pannello</translation>
    </message>
    <message>
        <source>Fertig</source>
        <translation>Fine</translation>
    </message>
    <message numerus="yes">
        <source>%n Apps im Vesk</source>
        <translation>
            <numerusform>%n app nel Vesk</numerusform>
            <numerusform>%n app nel Vesk</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ScreenFunctionTogglesView</name>
    <message>
        <source>Hauptbildschirm</source>
        <translation>Monitor principale</translation>
    </message>
    <message>
        <source>Apps-Leiste (Reinholen)</source>
        <translation>Barra app (richiama)</translation>
    </message>
    <message>
        <source>Ziel &amp; Modus</source>
        <translation>Obiettivo e modalità</translation>
    </message>
    <message>
        <source>Steuerleiste</source>
        <translation>Barra di controllo</translation>
    </message>
</context>
<context>
    <name>SelectedAppTile</name>
    <message>
        <source>Aus Auswahl entfernen</source>
        <translation>Togli dalla selezione</translation>
    </message>
</context>
<context>
    <name>SessionHUDAppChip</name>
    <message>
        <source>%1 öffnen</source>
        <translation>Apri %1</translation>
    </message>
    <message>
        <source>Sichtbar</source>
        <translation>Visibile</translation>
    </message>
    <message>
        <source>Verdeckt</source>
        <translation>Coperta</translation>
    </message>
    <message>
        <source>Minimiert</source>
        <translation>Ridotta</translation>
    </message>
    <message>
        <source>Auf anderem Schreibtisch</source>
        <translation>Su un’altra scrivania</translation>
    </message>
    <message>
        <source>Nicht gestartet</source>
        <translation>Non avviata</translation>
    </message>
</context>
<context>
    <name>SessionHUDView</name>
    <message>
        <source>Keine App offen</source>
        <translation>Nessuna app aperta</translation>
    </message>
    <message>
        <source>Weitere erlaubte Apps anzeigen</source>
        <translation>Mostra altre app consentite</translation>
    </message>
    <message>
        <source>+%1</source>
        <translation>+%1</translation>
    </message>
    <message>
        <source>VESK verlassen?</source>
        <translation>Uscire da VESK?</translation>
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
        <translation>Obiettivo</translation>
    </message>
    <message>
        <source>Apps</source>
        <translation>App</translation>
    </message>
    <message>
        <source>Screenshot auf Desktop speichern</source>
        <translation>Salva screenshot sulla scrivania</translation>
    </message>
    <message>
        <source>VESK verlassen</source>
        <translation>Esci da VESK</translation>
    </message>
    <message>
        <source>App ist auf anderem Schreibtisch</source>
        <translation>L’app è su un’altra scrivania</translation>
    </message>
    <message>
        <source>Screenshot gespeichert</source>
        <translation>Screenshot salvato</translation>
    </message>
    <message>
        <source>Screenshot fehlgeschlagen</source>
        <translation>Screenshot non riuscito</translation>
    </message>
    <message>
        <source>VESK aktiv</source>
        <translation>VESK attivo</translation>
    </message>
    <message>
        <source>ZIEL</source>
        <translation>OBIETTIVO</translation>
    </message>
</context>
<context>
    <name>SessionHistoryView</name>
    <message>
        <source>Unbekannter Abschluss</source>
        <translation>Conclusione sconosciuta</translation>
    </message>
    <message>
        <source>Timer abgelaufen</source>
        <translation>Timer scaduto</translation>
    </message>
    <message>
        <source>Manuell beendet</source>
        <translation>Terminata a mano</translation>
    </message>
    <message>
        <source>Notausgang</source>
        <translation>Uscita di emergenza</translation>
    </message>
    <message>
        <source>Keine erlaubten Fenster</source>
        <translation>Nessuna finestra consentita</translation>
    </message>
    <message>
        <source>App wurde beendet</source>
        <translation>App chiusa</translation>
    </message>
    <message>
        <source>Nach Absturz beendet</source>
        <translation>Terminata dopo un crash</translation>
    </message>
    <message>
        <source>Nicht beantwortet</source>
        <translation>Senza risposta</translation>
    </message>
    <message>
        <source>Erledigt</source>
        <translation>Fatto</translation>
    </message>
    <message>
        <source>Teilweise</source>
        <translation>In parte</translation>
    </message>
    <message>
        <source>Nicht geschafft</source>
        <translation>Non riuscito</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Sì</translation>
    </message>
    <message>
        <source>Etwas</source>
        <translation>Un po’</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Ziel</source>
        <translation>Obiettivo</translation>
    </message>
    <message>
        <source>Vesk</source>
        <translation>Vesk</translation>
    </message>
    <message>
        <source>Sessions</source>
        <translation>Sessioni</translation>
    </message>
    <message>
        <source>Fokuszeit</source>
        <translation>Tempo di focus</translation>
    </message>
    <message>
        <source>Ziel erreicht</source>
        <translation>Obiettivo raggiunto</translation>
    </message>
    <message>
        <source>Vesk hilfreich</source>
        <translation>Vesk utile</translation>
    </message>
    <message>
        <source>keine Angabe</source>
        <translation>nessuna risposta</translation>
    </message>
    <message>
        <source>meist „Ja“</source>
        <translation>perlopiù «Sì»</translation>
    </message>
    <message>
        <source>meist „Etwas“</source>
        <translation>perlopiù «Un po’»</translation>
    </message>
    <message>
        <source>meist „Nein“</source>
        <translation>perlopiù «No»</translation>
    </message>
    <message>
        <source>Keine Apps gespeichert</source>
        <translation>Nessuna app salvata</translation>
    </message>
    <message>
        <source>Deine Sessions im Rückblick</source>
        <translation>Le tue sessioni in sintesi</translation>
    </message>
    <message>
        <source>Dauer, Ziel, Umfrage und Abschluss — alles auf dieser Seite, nichts verlässt dein Gerät.</source>
        <translation>Durata, obiettivo, sondaggio e conclusione — tutto su questa pagina, niente lascia il tuo dispositivo.</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Noch kein Verlauf vorhanden</source>
        <translation>Ancora nessuna cronologia</translation>
    </message>
    <message>
        <source>Einzelne Sessions</source>
        <translation>Singole sessioni</translation>
    </message>
    <message>
        <source>· neueste zuerst</source>
        <translation>· prima le più recenti</translation>
    </message>
    <message>
        <source>abgeschlossen</source>
        <translation>completate</translation>
    </message>
    <message>
        <source>gesammelt</source>
        <translation>raccolto</translation>
    </message>
    <message>
        <source>Starte und beende eine Session, dann erscheint sie hier mit Dauer, Apps und Abschlussgrund.</source>
        <translation>Avvia e termina una sessione: comparirà qui con durata, app e motivo della fine.</translation>
    </message>
</context>
<context>
    <name>SessionReflectionView</name>
    <message>
        <source>ZEIT ABGELAUFEN</source>
        <translation>TEMPO SCADUTO</translation>
    </message>
    <message>
        <source>NOTAUSGANG</source>
        <translation>USCITA DI EMERGENZA</translation>
    </message>
    <message>
        <source>SESSION VORBEI</source>
        <translation>SESSIONE FINITA</translation>
    </message>
    <message>
        <source>Erledigt</source>
        <translation>Fatto</translation>
    </message>
    <message>
        <source>Teilweise</source>
        <translation>In parte</translation>
    </message>
    <message>
        <source>Nicht geschafft</source>
        <translation>Non riuscito</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Sì</translation>
    </message>
    <message>
        <source>Etwas</source>
        <translation>Un po’</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Ablenkung kam trotzdem durch</source>
        <translation>Le distrazioni sono passate lo stesso</translation>
    </message>
    <message>
        <source>VESK hat mich gestört</source>
        <translation>VESK mi ha disturbato</translation>
    </message>
    <message>
        <source>Ziel war unklar</source>
        <translation>L’obiettivo non era chiaro</translation>
    </message>
    <message>
        <source>Technisches Problem</source>
        <translation>Problema tecnico</translation>
    </message>
    <message>
        <source>Anderes</source>
        <translation>Altro</translation>
    </message>
    <message>
        <source>Vesk beendet</source>
        <translation>Vesk terminato</translation>
    </message>
    <message>
        <source>ZIEL</source>
        <translation>OBIETTIVO</translation>
    </message>
    <message>
        <source>War The Vesk hilfreich?</source>
        <translation>The Vesk ti è stato utile?</translation>
    </message>
    <message>
        <source>Woran lag es?</source>
        <translation>Cosa è andato storto?</translation>
    </message>
    <message>
        <source>Notiz hinzufügen</source>
        <translation>Aggiungi una nota</translation>
    </message>
    <message>
        <source>Später</source>
        <translation>Più tardi</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Salva</translation>
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
        <translation>Cronologia</translation>
    </message>
    <message>
        <source>Suche oben nach Apps, die du mitnehmen willst.</source>
        <translation>Cerca qui sopra le app che vuoi portare con te.</translation>
    </message>
    <message>
        <source>Problem melden</source>
        <translation>Segnala un problema</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>Update verfügbar</source>
        <translation>Aggiornamento disponibile</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versione</translation>
    </message>
</context>
<context>
    <name>SessionSummaryLine</name>
    <message>
        <source>Unbegrenzt</source>
        <translation>Senza limite</translation>
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
        <translation>%1 app</translation>
    </message>
    <message>
        <source>Hardcore</source>
        <translation>Hardcore</translation>
    </message>
    <message>
        <source>Ziel setzen</source>
        <translation>Imposta obiettivo</translation>
    </message>
    <message>
        <source>Ziel: %1</source>
        <translation>Obiettivo: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Allgemein</source>
        <translation>Generali</translation>
    </message>
    <message>
        <source>Darstellung</source>
        <translation>Aspetto</translation>
    </message>
    <message>
        <source>Stage Vesk</source>
        <translation>Stage Vesk</translation>
    </message>
    <message>
        <source>Bildschirme</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Suono</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Feedback</translation>
    </message>
    <message>
        <source>Sitzung</source>
        <translation>Sessione</translation>
    </message>
    <message>
        <source>System (Standard)</source>
        <translation>Sistema (predefinita)</translation>
    </message>
    <message>
        <source>Sprache</source>
        <translation>Lingua</translation>
    </message>
    <message>
        <source>Standard-Dauer</source>
        <translation>Durata predefinita</translation>
    </message>
    <message>
        <source>Hardcore-Modus standardmaessig aktiv</source>
        <translation>Modalità hardcore attiva di default</translation>
    </message>
    <message>
        <source>Software-Updates</source>
        <translation>Aggiornamenti software</translation>
    </message>
    <message>
        <source>Automatisch nach Updates suchen</source>
        <translation>Cerca aggiornamenti automaticamente</translation>
    </message>
    <message>
        <source>Prüft täglich im Hintergrund.</source>
        <translation>Controlla ogni giorno in background.</translation>
    </message>
    <message>
        <source>Updates automatisch installieren</source>
        <translation>Installa gli aggiornamenti automaticamente</translation>
    </message>
    <message>
        <source>Lädt &amp; installiert neue Versionen beim Beenden — ohne Nachfrage.</source>
        <translation>Scarica e installa le nuove versioni all’uscita — senza chiedere.</translation>
    </message>
    <message>
        <source>Build %1</source>
        <translation>Build %1</translation>
    </message>
    <message>
        <source>Jetzt suchen</source>
        <translation>Cerca ora</translation>
    </message>
    <message>
        <source>Animationen reduzieren</source>
        <translation>Riduci le animazioni</translation>
    </message>
    <message>
        <source>Pausiert das Funkeln der Sterne und den Orbit des Wormvesk-Symbols.</source>
        <translation>Mette in pausa lo scintillio delle stelle e l’orbita del simbolo Wormvesk.</translation>
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
        <translation>Invecchiamento coda</translation>
    </message>
    <message>
        <source>Apps in der Queue werden nach dieser Zeit visuell als „Brauchst du das noch?“ markiert.</source>
        <translation>Dopo questo tempo, le app in coda vengono segnate con «Ti serve ancora?».</translation>
    </message>
    <message>
        <source>Sound aktiviert</source>
        <translation>Suono attivo</translation>
    </message>
    <message>
        <source>Problem melden</source>
        <translation>Segnala un problema</translation>
    </message>
    <message>
        <source>Bug, Feedback oder Idee senden</source>
        <translation>Invia un bug, un feedback o un’idea</translation>
    </message>
    <message>
        <source>Öffnet ein Formular und sendet deinen Bericht inkl. optionaler Diagnose-Logs an die VESK-Beta-Adresse.</source>
        <translation>Apre un modulo e invia la tua segnalazione, con log di diagnostica facoltativi, all’indirizzo beta di VESK.</translation>
    </message>
    <message>
        <source>Anonyme Nutzungsstatistiken teilen</source>
        <translation>Condividi statistiche d’uso anonime</translation>
    </message>
    <message>
        <source>Hilft uns, VESK zu verbessern. Jederzeit abschaltbar.</source>
        <translation>Ci aiuta a migliorare VESK. Disattivabile in ogni momento.</translation>
    </message>
    <message>
        <source>Was wir sehen</source>
        <translation>Cosa vediamo</translation>
    </message>
    <message>
        <source>Anzahl &amp; ungefähre Dauer von Sessions, Zielerreichung (erledigt/teilweise/nicht), ob VESK geholfen hat, App- &amp; macOS-Version.</source>
        <translation>Numero e durata indicativa delle sessioni, obiettivi raggiunti (fatto/in parte/no), se VESK ti ha aiutato, versione dell’app e di macOS.</translation>
    </message>
    <message>
        <source>Was wir nie sehen</source>
        <translation>Cosa non vediamo mai</translation>
    </message>
    <message>
        <source>Deinen Namen, welche Apps du nutzt, deine Ziele im Wortlaut, irgendwelche Inhalte, deine IP (keine Speicherung).</source>
        <translation>Il tuo nome, quali app usi, il testo dei tuoi obiettivi, qualsiasi contenuto, il tuo IP (non salvato).</translation>
    </message>
    <message>
        <source>Datenschutz</source>
        <translation>Privacy</translation>
    </message>
    <message>
        <source>Updates kommen über die Paketverwaltung.</source>
        <translation>Gli aggiornamenti arrivano dal gestore di pacchetti.</translation>
    </message>
    <message>
        <source>Diese Installation wird nicht von VESK aktualisiert.</source>
        <translation>Questa installazione non viene aggiornata da VESK.</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Einstellungen</source>
        <translation>Impostazioni</translation>
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
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Suche nach Updates …</source>
        <translation>Ricerca aggiornamenti…</translation>
    </message>
    <message>
        <source>NEU IN DIESER VERSION</source>
        <translation>NOVITÀ DI QUESTA VERSIONE</translation>
    </message>
    <message>
        <source>Update bereit</source>
        <translation>Aggiornamento pronto</translation>
    </message>
    <message>
        <source>Du bist auf dem neuesten Stand</source>
        <translation>Sei aggiornato</translation>
    </message>
    <message>
        <source>VESK %1 — zuletzt geprüft gerade eben</source>
        <translation>VESK %1 — ultimo controllo proprio ora</translation>
    </message>
    <message>
        <source>An</source>
        <translation>Attivi</translation>
    </message>
    <message>
        <source>Aus</source>
        <translation>Disattivati</translation>
    </message>
    <message>
        <source>Automatische Updates · %1</source>
        <translation>Aggiornamenti automatici · %1</translation>
    </message>
    <message>
        <source>Erneut prüfen</source>
        <translation>Verifica di nuovo</translation>
    </message>
    <message>
        <source>Update fehlgeschlagen</source>
        <translation>Aggiornamento non riuscito</translation>
    </message>
    <message>
        <source>VESK %1 ist heruntergeladen. Neu starten, um die Installation abzuschließen — deine laufende Session bleibt erhalten.</source>
        <translation>VESK %1 è stato scaricato. Riavvia per completare l’installazione — la sessione in corso resta com’è.</translation>
    </message>
    <message>
        <source>Unbekannter Fehler.</source>
        <translation>Errore sconosciuto.</translation>
    </message>
    <message>
        <source>VESK %1 ist da</source>
        <translation>È arrivato VESK %1</translation>
    </message>
    <message>
        <source>VESK %1 wird geladen …</source>
        <translation>Download di VESK %1…</translation>
    </message>
    <message>
        <source>%1 von %2</source>
        <translation>%1 di %2</translation>
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
        <translation>Chiudi le app</translation>
    </message>
    <message>
        <source>Offen lassen</source>
        <translation>Lascia aperte</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>App zur Session hinzufuegen</source>
        <translation>Aggiungi un’app alla sessione</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>Verlassen</source>
        <translation>Esci</translation>
    </message>
    <message numerus="yes">
        <source>%n offen</source>
        <translation>
            <numerusform>%n aperta</numerusform>
            <numerusform>%n aperte</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StageVeskSettingsControlView</name>
    <message>
        <source>Apps-Leiste (Reinholen)</source>
        <translation>Barra app (richiama)</translation>
    </message>
    <message>
        <source>Ziel &amp; Modus</source>
        <translation>Obiettivo e modalità</translation>
    </message>
    <message>
        <source>Steuerleiste</source>
        <translation>Barra di controllo</translation>
    </message>
    <message>
        <source>Stage Vesk</source>
        <translation>Stage Vesk</translation>
    </message>
    <message>
        <source>Leisten pro Bildschirm</source>
        <translation>Barre per monitor</translation>
    </message>
    <message>
        <source>Bug melden</source>
        <translation>Segnala un bug</translation>
    </message>
    <message>
        <source>Problem oder Feedback senden — auch während der Session.</source>
        <translation>Invia un problema o un feedback — anche durante la sessione.</translation>
    </message>
    <message>
        <source>Debug: Hardcore beenden</source>
        <translation>Debug: termina hardcore</translation>
    </message>
    <message>
        <source>Nur für Entwicklung: Beendet die Hardcore-Session sofort.</source>
        <translation>Solo per lo sviluppo: termina subito la sessione hardcore.</translation>
    </message>
    <message>
        <source>Hauptbildschirm</source>
        <translation>Monitor principale</translation>
    </message>
    <message>
        <source>AN</source>
        <translation>SÌ</translation>
    </message>
    <message>
        <source>AUS</source>
        <translation>NO</translation>
    </message>
</context>
<context>
    <name>StageVeskSidebarControlView</name>
    <message>
        <source>GEPARKT</source>
        <translation>IN SOSTA</translation>
    </message>
    <message>
        <source>Klick: auf Bühne</source>
        <translation>Clic: sul palco</translation>
    </message>
    <message>
        <source>Apps-Leiste aufklappen</source>
        <translation>Espandi la barra app</translation>
    </message>
    <message>
        <source>Apps-Leiste einklappen</source>
        <translation>Comprimi la barra app</translation>
    </message>
    <message>
        <source>geparkt</source>
        <translation>in sosta</translation>
    </message>
    <message>
        <source>Brauchst du das noch?</source>
        <translation>Ti serve ancora?</translation>
    </message>
    <message>
        <source>in Queue</source>
        <translation>in coda</translation>
    </message>
    <message numerus="yes">
        <source>QUEUE · %n</source>
        <translation>
            <numerusform>CODA · %n</numerusform>
            <numerusform>CODA · %n</numerusform>
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
        <translation>Diviso</translation>
    </message>
    <message>
        <source>Tri</source>
        <translation>Tre</translation>
    </message>
    <message>
        <source>Quad</source>
        <translation>Quattro</translation>
    </message>
    <message>
        <source>Freestyle</source>
        <translation>Libero</translation>
    </message>
    <message>
        <source>◎ ZIEL</source>
        <translation>◎ OBIETTIVO</translation>
    </message>
</context>
</TS>
