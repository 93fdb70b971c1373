<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="de">
<context>
    <name>AboutWindow</name>
    <message>
        <source>Über VESK</source>
        <translation>Acerca de VESK</translation>
    </message>
    <message>
        <source>Version %1 (%2)</source>
        <translation>Versión %1 (%2)</translation>
    </message>
    <message>
        <source>© 2026 VESK. Alle Rechte vorbehalten.</source>
        <translation>© 2026 VESK. Todos los derechos reservados.</translation>
    </message>
    <message>
        <source>Desktop: %1</source>
        <translation>Escritorio: %1</translation>
    </message>
    <message>
        <source>Simulierter Desktop</source>
        <translation>Escritorio simulado</translation>
    </message>
    <message>
        <source>X11-Desktop</source>
        <translation>Escritorio X11</translation>
    </message>
</context>
<context>
    <name>ActiveSessionView</name>
    <message>
        <source>Session aktiv</source>
        <translation>Sesión activa</translation>
    </message>
    <message>
        <source>Session beenden</source>
        <translation>Terminar sesión</translation>
    </message>
</context>
<context>
    <name>AnalyticsNotice</name>
    <message>
        <source>Anonyme Nutzungsdaten sind an</source>
        <translation>Datos de uso anónimos activados</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>Verstanden</source>
        <translation>Entendido</translation>
    </message>
    <message>
        <source>VESK misst nur, </source>
        <translation>VESK solo mide </translation>
    </message>
    <message>
        <source>dass</source>
        <translation>que</translation>
    </message>
    <message>
        <source> du fokussierst — nie </source>
        <translation> te concentras — nunca </translation>
    </message>
    <message>
        <source>woran</source>
        <translation>en qué</translation>
    </message>
    <message>
        <source>. Keine App-Namen, keine Ziele, keine Inhalte.</source>
        <translation>. Sin nombres de apps, objetivos ni contenidos.</translation>
    </message>
</context>
<context>
    <name>AppLaunchPromptView</name>
    <message>
        <source>%1 in den Vesk holen?</source>
        <translation>¿Llevar %1 al Vesk?</translation>
    </message>
    <message>
        <source>Hinzufügen</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Blockieren</source>
        <translation>Bloquear</translation>
    </message>
</context>
<context>
    <name>AppSearchDropdown</name>
    <message>
        <source>Keine weiteren Apps gefunden</source>
        <translation>No hay más apps</translation>
    </message>
    <message>
        <source>Apps hinzufuegen</source>
        <translation>Añadir apps</translation>
    </message>
    <message>
        <source>Suche loeschen</source>
        <translation>Borrar búsqueda</translation>
    </message>
</context>
<context>
    <name>BugReportView</name>
    <message>
        <source>Bug</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Opinión</translation>
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
        <translation>Informar de un problema</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Diagnose-Logs anhängen</source>
        <translation>Adjuntar registros de diagnóstico</translation>
    </message>
    <message>
        <source>Technische Details der aktuellen Sitzung — keine Inhalte deiner Apps. Anonym ans VESK-Beta-Team.</source>
        <translation>Detalles técnicos de la sesión actual — nada del contenido de tus apps. Anónimo, para el equipo beta de VESK.</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Senden</source>
        <translation>Enviar</translation>
    </message>
    <message>
        <source>Danke! Dein Bericht wurde gesendet.</source>
        <translation>¡Gracias! Tu informe se ha enviado.</translation>
    </message>
    <message>
        <source>Das VESK-Beta-Team meldet sich, falls Rückfragen kommen.</source>
        <translation>El equipo beta de VESK te escribirá si tiene preguntas.</translation>
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
        <translation>Sin límite</translation>
    </message>
</context>
<context>
    <name>FeedUpdater</name>
    <message>
        <source>Der Update-Feed ist nicht erreichbar: %1</source>
        <translation>No se puede acceder al feed de actualizaciones: %1</translation>
    </message>
    <message>
        <source>Der Update-Feed ist ungültig.</source>
        <translation>El feed de actualizaciones no es válido.</translation>
    </message>
    <message>
        <source>Version %1 ist die neueste Version.</source>
        <translation>La versión %1 es la más reciente.</translation>
    </message>
    <message>
        <source>Das Update konnte nicht geladen werden: %1</source>
        <translation>No se pudo descargar la actualización: %1</translation>
    </message>
    <message>
        <source>Das geladene Update ist unvollständig.</source>
        <translation>La actualización descargada está incompleta.</translation>
    </message>
    <message>
        <source>Das geladene Update ist beschädigt.</source>
        <translation>La actualización descargada está dañada.</translation>
    </message>
    <message>
        <source>Das Update konnte nicht installiert werden.</source>
        <translation>No se pudo instalar la actualización.</translation>
    </message>
    <message>
        <source>Das geladene Update ist größer als angekündigt.</source>
        <translation>La actualización descargada es más grande de lo anunciado.</translation>
    </message>
    <message>
        <source>Die Signatur des Updates ist ungültig.</source>
        <translation>La firma de la actualización no es válida.</translation>
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
        <translation>Modo hardcore: la sesión solo termina con el temporizador o un reinicio.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Über VESK</source>
        <translation>Acerca de VESK</translation>
    </message>
    <message>
        <source>Nach Updates suchen…</source>
        <translation>Buscar actualizaciones…</translation>
    </message>
    <message>
        <source>Einstellungen…</source>
        <translation>Ajustes…</translation>
    </message>
    <message>
        <source>VESK beenden</source>
        <translation>Salir de VESK</translation>
    </message>
    <message>
        <source>Fenster</source>
        <translation>Ventana</translation>
    </message>
    <message>
        <source>Minimieren</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>MetaPopoverView</name>
    <message>
        <source>Fuer diese Session</source>
        <translation>Para esta sesión</translation>
    </message>
    <message>
        <source>Schliessen</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>DAUER</source>
        <translation>DURACIÓN</translation>
    </message>
    <message>
        <source>Hardcore-Modus</source>
        <translation>Modo hardcore</translation>
    </message>
    <message>
        <source>Kein vorzeitiges Beenden moeglich</source>
        <translation>No se puede terminar antes</translation>
    </message>
    <message>
        <source>Ziel — optional</source>
        <translation>Objetivo — opcional</translation>
    </message>
    <message>
        <source>Was willst du erledigen?</source>
        <translation>¿Qué quieres terminar?</translation>
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
        <translation>Conceder permiso</translation>
    </message>
    <message>
        <source>Bedienungshilfen erforderlich</source>
        <translation>Se necesita Accesibilidad</translation>
    </message>
    <message>
        <source>VESK braucht Bedienungshilfen für Minimieren, Wiederherstellen und Monitor-Wechsel. Wenn der Schalter schon blau ist: VESK mit dem Minus-Button entfernen, mit Plus neu hinzufügen und VESK neu starten.</source>
        <translation>VESK necesita Accesibilidad para minimizar, restaurar y cambiar de monitor. Si el interruptor ya está azul: quita VESK con el botón menos, vuelve a añadirlo con más y reinicia VESK.</translation>
    </message>
    <message>
        <source>Eingabeüberwachung erforderlich</source>
        <translation>Se necesita Monitorización de entrada</translation>
    </message>
    <message>
        <source>VESK braucht Eingabeüberwachung für Fensterbuttons, Klick-Blocking und den Notausgang.</source>
        <translation>VESK necesita Monitorización de entrada para los botones de ventana, el bloqueo de clics y la salida de emergencia.</translation>
    </message>
    <message>
        <source>Eingabeüberwachung und Bedienungshilfen erforderlich</source>
        <translation>Se necesitan Monitorización de entrada y Accesibilidad</translation>
    </message>
    <message>
        <source>VESK braucht Eingabeüberwachung für Fensterbuttons und Bedienungshilfen für Minimieren und Monitor-Wechsel. Wenn Bedienungshilfen schon aktiv wirkt: VESK mit dem Minus-Button entfernen, mit Plus neu hinzufügen und VESK neu starten.</source>
        <translation>VESK necesita Monitorización de entrada para los botones de ventana y Accesibilidad para minimizar y cambiar de monitor. Si Accesibilidad ya parece activa: quita VESK con el botón menos, vuelve a añadirlo con más y reinicia VESK.</translation>
    </message>
    <message>
        <source>Berechtigungen erteilen</source>
        <translation>Conceder permisos</translation>
    </message>
    <message>
        <source>VESK neu starten</source>
        <translation>Reiniciar VESK</translation>
    </message>
</context>
<context>
    <name>QuickAccessAppTile</name>
    <message>
        <source>%1 ist auf einem anderen Schreibtisch</source>
        <translation>%1 está en otro escritorio</translation>
    </message>
    <message>
        <source>%1 öffnen</source>
        <translation>Abrir %1</translation>
    </message>
    <message>
        <source>Aus Vesk entfernen</source>
        <translation>Quitar del Vesk</translation>
    </message>
</context>
<context>
    <name>QuickAccessPanelView</name>
    <message>
        <source>Keine Apps im Vesk.</source>
        <translation>No hay apps en el Vesk.</translation>
    </message>
    <message>
        <source>Apps</source>
        <translation>Apps</translation>
    </message>
    <message>
        <source>im Vesk</source>
        <translation>en el Vesk</translation>
    </message>
    <message>
        <source>Panel schliessen</source>
        <translation>Cerrar panel</translation>
    </message>
    <message>
        <source>Fertig</source>
        <translation>Listo</translation>
    </message>
    <message numerus="yes">
        <source>%n Apps im Vesk</source>
        <translation>
            <numerusform>%n app en el Vesk</numerusform>
            <numerusform>%n apps en el Vesk</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ScreenFunctionTogglesView</name>
    <message>
        <source>Hauptbildschirm</source>
        <translation>Pantalla principal</translation>
    </message>
    <message>
        <source>Apps-Leiste (Reinholen)</source>
        <translation>Barra de apps (traer)</translation>
    </message>
    <message>
        <source>Ziel &amp; Modus</source>
        <translation>Objetivo y modo</translation>
    </message>
    <message>
        <source>Steuerleiste</source>
        <translation>Barra de control</translation>
    </message>
</context>
<context>
    <name>SelectedAppTile</name>
    <message>
        <source>Aus Auswahl entfernen</source>
        <translation>Quitar de la selección</translation>
    </message>
</context>
<context>
    <name>SessionHUDAppChip</name>
    <message>
        <source>%1 öffnen</source>
        <translation>Abrir %1</translation>
    </message>
    <message>
        <source>Sichtbar</source>
        <translation>Visible</translation>
    </message>
    <message>
        <source>Verdeckt</source>
        <translation>Tapada</translation>
    </message>
    <message>
        <source>Minimiert</source>
        <translation>Minimizada</translation>
    </message>
    <message>
        <source>Auf anderem Schreibtisch</source>
        <translation>En otro escritorio</translation>
    </message>
    <message>
        <source>Nicht gestartet</source>
        <translation>Sin abrir</translation>
    </message>
</context>
<context>
    <name>SessionHUDView</name>
    <message>
        <source>Keine App offen</source>
        <translation>Ninguna app abierta</translation>
    </message>
    <message>
        <source>Weitere erlaubte Apps anzeigen</source>
        <translation>Mostrar más apps permitidas</translation>
    </message>
    <message>
        <source>+%1</source>
        <translation>+%1</translation>
    </message>
    <message>
        <source>VESK verlassen?</source>
        <translation>¿Salir de VESK?</translation>
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
        <translation>Objetivo</translation>
    </message>
    <message>
        <source>Apps</source>
        <translation>Apps</translation>
    </message>
    <message>
        <source>Screenshot auf Desktop speichern</source>
        <translation>Guardar captura en el escritorio</translation>
    </message>
    <message>
        <source>VESK verlassen</source>
        <translation>Salir de VESK</translation>
    </message>
    <message>
        <source>App ist auf anderem Schreibtisch</source>
        <translation>La app está en otro escritorio</translation>
    </message>
    <message>
        <source>Screenshot gespeichert</source>
        <translation>Captura guardada</translation>
    </message>
    <message>
        <source>Screenshot fehlgeschlagen</source>
        <translation>Error en la captura</translation>
    </message>
    <message>
        <source>VESK aktiv</source>
        <translation>VESK activo</translation>
    </message>
    <message>
        <source>ZIEL</source>
        <translation>OBJETIVO</translation>
    </message>
</context>
<context>
    <name>SessionHistoryView</name>
    <message>
        <source>Unbekannter Abschluss</source>
        <translation>Cierre desconocido</translation>
    </message>
    <message>
        <source>Timer abgelaufen</source>
        <translation>Tiempo agotado</translation>
    </message>
    <message>
        <source>Manuell beendet</source>
        <translation>Terminada a mano</translation>
    </message>
    <message>
        <source>Notausgang</source>
        <translation>Salida de emergencia</translation>
    </message>
    <message>
        <source>Keine erlaubten Fenster</source>
        <translation>Sin ventanas permitidas</translation>
    </message>
    <message>
        <source>App wurde beendet</source>
        <translation>App cerrada</translation>
    </message>
    <message>
        <source>Nach Absturz beendet</source>
        <translation>Terminada tras un fallo</translation>
    </message>
    <message>
        <source>Nicht beantwortet</source>
        <translation>Sin respuesta</translation>
    </message>
    <message>
        <source>Erledigt</source>
        <translation>Hecho</translation>
    </message>
    <message>
        <source>Teilweise</source>
        <translation>En parte</translation>
    </message>
    <message>
        <source>Nicht geschafft</source>
        <translation>No logrado</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>Etwas</source>
        <translation>Algo</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Ziel</source>
        <translation>Objetivo</translation>
    </message>
    <message>
        <source>Vesk</source>
        <translation>Vesk</translation>
    </message>
    <message>
        <source>Sessions</source>
        <translation>Sesiones</translation>
    </message>
    <message>
        <source>Fokuszeit</source>
        <translation>Tiempo de foco</translation>
    </message>
    <message>
        <source>Ziel erreicht</source>
        <translation>Objetivo logrado</translation>
    </message>
    <message>
        <source>Vesk hilfreich</source>
        <translation>Vesk útil</translation>
    </message>
    <message>
        <source>keine Angabe</source>
        <translation>sin respuesta</translation>
    </message>
    <message>
        <source>meist „Ja“</source>
        <translation>sobre todo «Sí»</translation>
    </message>
    <message>
        <source>meist „Etwas“</source>
        <translation>sobre todo «Algo»</translation>
    </message>
    <message>
        <source>meist „Nein“</source>
        <translation>sobre todo «No»</translation>
    </message>
    <message>
        <source>Keine Apps gespeichert</source>
        <translation>Sin apps guardadas</translation>
    </message>
    <message>
        <source>Deine Sessions im Rückblick</source>
        <translation>Tus sesiones de un vistazo</translation>
    </message>
    <message>
        <source>Dauer, Ziel, Umfrage und Abschluss — alles auf dieser Seite, nichts verlässt dein Gerät.</source>
        <translation>Duración, objetivo, encuesta y cierre — todo en esta página, nada sale de tu dispositivo.</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Noch kein Verlauf vorhanden</source>
        <translation>Aún no hay historial</translation>
    </message>
    <message>
        <source>Einzelne Sessions</source>
        <translation>Sesiones una a una</translation>
    </message>
    <message>
        <source>· neueste zuerst</source>
        <translation>· las más recientes primero</translation>
    </message>
    <message>
        <source>abgeschlossen</source>
        <translation>completadas</translation>
    </message>
    <message>
        <source>gesammelt</source>
        <translation>acumulado</translation>
    </message>
    <message>
        <source>Starte und beende eine Session, dann erscheint sie hier mit Dauer, Apps und Abschlussgrund.</source>
        <translation>Inicia y termina una sesión y aparecerá aquí con su duración, sus apps y el motivo del final.</translation>
    </message>
</context>
<context>
    <name>SessionReflectionView</name>
    <message>
        <source>ZEIT ABGELAUFEN</source>
        <translation>TIEMPO AGOTADO</translation>
    </message>
    <message>
        <source>NOTAUSGANG</source>
        <translation>SALIDA DE EMERGENCIA</translation>
    </message>
    <message>
        <source>SESSION VORBEI</source>
        <translation>SESIÓN TERMINADA</translation>
    </message>
    <message>
        <source>Erledigt</source>
        <translation>Hecho</translation>
    </message>
    <message>
        <source>Teilweise</source>
        <translation>En parte</translation>
    </message>
    <message>
        <source>Nicht geschafft</source>
        <translation>No lo logré</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>Etwas</source>
        <translation>Algo</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Ablenkung kam trotzdem durch</source>
        <translation>Las distracciones se colaron igual</translation>
    </message>
    <message>
        <source>VESK hat mich gestört</source>
        <translation>VESK me molestó</translation>
    </message>
    <message>
        <source>Ziel war unklar</source>
        <translation>El objetivo no estaba claro</translation>
    </message>
    <message>
        <source>Technisches Problem</source>
        <translation>Problema técnico</translation>
    </message>
    <message>
        <source>Anderes</source>
        <translation>Otra cosa</translation>
    </message>
    <message>
        <source>Vesk beendet</source>
        <translation>Vesk terminado</translation>
    </message>
    <message>
        <source>ZIEL</source>
        <translation>OBJETIVO</translation>
    </message>
    <message>
        <source>War The Vesk hilfreich?</source>
        <translation>¿Te ayudó The Vesk?</translation>
    </message>
    <message>
        <source>Woran lag es?</source>
        <translation>¿Qué pasó?</translation>
    </message>
    <message>
        <source>Notiz hinzufügen</source>
        <translation>Añadir una nota</translation>
    </message>
    <message>
        <source>Später</source>
        <translation>Más tarde</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Guardar</translation>
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
        <translation>Historial</translation>
    </message>
    <message>
        <source>Suche oben nach Apps, die du mitnehmen willst.</source>
        <translation>Busca arriba las apps que quieres llevar contigo.</translation>
    </message>
    <message>
        <source>Problem melden</source>
        <translation>Informar de un problema</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>Update verfügbar</source>
        <translation>Actualización disponible</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versión</translation>
    </message>
</context>
<context>
    <name>SessionSummaryLine</name>
    <message>
        <source>Unbegrenzt</source>
        <translation>Sin límite</translation>
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
        <translation>Fijar objetivo</translation>
    </message>
    <message>
        <source>Ziel: %1</source>
        <translation>Objetivo: %1</translation>
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
        <translation>Apariencia</translation>
    </message>
    <message>
        <source>Stage Vesk</source>
        <translation>Stage Vesk</translation>
    </message>
    <message>
        <source>Bildschirme</source>
        <translation>Pantallas</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Sonido</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Opinión</translation>
    </message>
    <message>
        <source>Sitzung</source>
        <translation>Sesión</translation>
    </message>
    <message>
        <source>System (Standard)</source>
        <translation>Sistema (predeterminado)</translation>
    </message>
    <message>
        <source>Sprache</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Standard-Dauer</source>
        <translation>Duración predeterminada</translation>
    </message>
    <message>
        <source>Hardcore-Modus standardmaessig aktiv</source>
        <translation>Modo hardcore activado por defecto</translation>
    </message>
    <message>
        <source>Software-Updates</source>
        <translation>Actualizaciones</translation>
    </message>
    <message>
        <source>Automatisch nach Updates suchen</source>
        <translation>Buscar actualizaciones automáticamente</translation>
    </message>
    <message>
        <source>Prüft täglich im Hintergrund.</source>
        <translation>Comprueba a diario en segundo plano.</translation>
    </message>
    <message>
        <source>Updates automatisch installieren</source>
        <translation>Instalar actualizaciones automáticamente</translation>
    </message>
    <message>
        <source>Lädt &amp; installiert neue Versionen beim Beenden — ohne Nachfrage.</source>
        <translation>Descarga e instala las nuevas versiones al salir — sin preguntar.</translation>
    </message>
    <message>
        <source>Build %1</source>
        <translation>Compilación %1</translation>
    </message>
    <message>
        <source>Jetzt suchen</source>
        <translation>Buscar ahora</translation>
    </message>
    <message>
        <source>Animationen reduzieren</source>
        <translation>Reducir animaciones</translation>
    </message>
    <message>
        <source>Pausiert das Funkeln der Sterne und den Orbit des Wormvesk-Symbols.</source>
        <translation>Pausa el brillo de las estrellas y la órbita del símbolo Wormvesk.</translation>
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
        <translation>Antigüedad en cola</translation>
    </message>
    <message>
        <source>Apps in der Queue werden nach dieser Zeit visuell als „Brauchst du das noch?“ markiert.</source>
        <translation>Pasado este tiempo, las apps en cola se marcan con «¿Aún lo necesitas?».</translation>
    </message>
    <message>
        <source>Sound aktiviert</source>
        <translation>Sonido activado</translation>
    </message>
    <message>
        <source>Problem melden</source>
        <translation>Informar de un problema</translation>
    </message>
    <message>
        <source>Bug, Feedback oder Idee senden</source>
        <translation>Enviar un error, una opinión o una idea</translation>
    </message>
    <message>
        <source>Öffnet ein Formular und sendet deinen Bericht inkl. optionaler Diagnose-Logs an die VESK-Beta-Adresse.</source>
        <translation>Abre un formulario y envía tu informe, con registros de diagnóstico opcionales, a la dirección beta de VESK.</translation>
    </message>
    <message>
        <source>Anonyme Nutzungsstatistiken teilen</source>
        <translation>Compartir estadísticas de uso anónimas</translation>
    </message>
    <message>
        <source>Hilft uns, VESK zu verbessern. Jederzeit abschaltbar.</source>
        <translation>Nos ayuda a mejorar VESK. Puedes desactivarlo cuando quieras.</translation>
    </message>
    <message>
        <source>Was wir sehen</source>
        <translation>Lo que vemos</translation>
    </message>
    <message>
        <source>Anzahl &amp; ungefähre Dauer von Sessions, Zielerreichung (erledigt/teilweise/nicht), ob VESK geholfen hat, App- &amp; macOS-Version.</source>
        <translation>Número y duración aproximada de las sesiones, objetivos logrados (hecho/en parte/no), si VESK te ayudó, versión de la app y de macOS.</translation>
    </message>
    <message>
        <source>Was wir nie sehen</source>
        <translation>Lo que nunca vemos</translation>
    </message>
    <message>
        <source>Deinen Namen, welche Apps du nutzt, deine Ziele im Wortlaut, irgendwelche Inhalte, deine IP (keine Speicherung).</source>
        <translation>Tu nombre, qué apps usas, el texto de tus objetivos, ningún contenido, tu IP (no se guarda).</translation>
    </message>
    <message>
        <source>Datenschutz</source>
        <translation>Privacidad</translation>
    </message>
    <message>
        <source>Updates kommen über die Paketverwaltung.</source>
        <translation>Las actualizaciones llegan a través del gestor de paquetes.</translation>
    </message>
    <message>
        <source>Diese Installation wird nicht von VESK aktualisiert.</source>
        <translation>Esta instalación no la actualiza VESK.</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Einstellungen</source>
        <translation>Ajustes</translation>
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
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Suche nach Updates …</source>
        <translation>Buscando actualizaciones…</translation>
    </message>
    <message>
        <source>NEU IN DIESER VERSION</source>
        <translation>NOVEDADES DE ESTA VERSIÓN</translation>
    </message>
    <message>
        <source>Update bereit</source>
        <translation>Actualización lista</translation>
    </message>
    <message>
        <source>Du bist auf dem neuesten Stand</source>
        <translation>Estás al día</translation>
    </message>
    <message>
        <source>VESK %1 — zuletzt geprüft gerade eben</source>
        <translation>VESK %1 — comprobado hace un momento</translation>
    </message>
    <message>
        <source>An</source>
        <translation>Activadas</translation>
    </message>
    <message>
        <source>Aus</source>
        <translation>Desactivadas</translation>
    </message>
    <message>
        <source>Automatische Updates · %1</source>
        <translation>Actualizaciones automáticas · %1</translation>
    </message>
    <message>
        <source>Erneut prüfen</source>
        <translation>Volver a buscar</translation>
    </message>
    <message>
        <source>Update fehlgeschlagen</source>
        <translation>Error al actualizar</translation>
    </message>
    <message>
        <source>VESK %1 ist heruntergeladen. Neu starten, um die Installation abzuschließen — deine laufende Session bleibt erhalten.</source>
        <translation>VESK %1 se ha descargado. Reinicia para terminar la instalación — tu sesión en curso se mantiene.</translation>
    </message>
    <message>
        <source>Unbekannter Fehler.</source>
        <translation>Error desconocido.</translation>
    </message>
    <message>
        <source>VESK %1 ist da</source>
        <translation>Ya está aquí VESK %1</translation>
    </message>
    <message>
        <source>VESK %1 wird geladen …</source>
        <translation>Descargando VESK %1…</translation>
    </message>
    <message>
        <source>%1 von %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
</context>
<context>
    <name>StageVeskBottomControlView</name>
    <message>
        <source>Apps schliessen</source>
        <translation>Cerrar apps</translation>
    </message>
    <message>
        <source>Offen lassen</source>
        <translation>Dejar abiertas</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>App zur Session hinzufuegen</source>
        <translation>Añadir una app a la sesión</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>Verlassen</source>
        <translation>Salir</translation>
    </message>
    <message numerus="yes">
        <source>%n offen</source>
        <translation>
            <numerusform>%n abierta</numerusform>
            <numerusform>%n abiertas</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StageVeskSettingsControlView</name>
    <message>
        <source>Apps-Leiste (Reinholen)</source>
        <translation>Barra de apps (traer)</translation>
    </message>
    <message>
        <source>Ziel &amp; Modus</source>
        <translation>Objetivo y modo</translation>
    </message>
    <message>
        <source>Steuerleiste</source>
        <translation>Barra de control</translation>
    </message>
    <message>
        <source>Stage Vesk</source>
        <translation>Stage Vesk</translation>
    </message>
    <message>
        <source>Leisten pro Bildschirm</source>
        <translation>Barras por pantalla</translation>
    </message>
    <message>
        <source>Bug melden</source>
        <translation>Informar de un error</translation>
    </message>
    <message>
        <source>Problem oder Feedback senden — auch während der Session.</source>
        <translation>Envía un problema o tu opinión — también durante la sesión.</translation>
    </message>
    <message>
        <source>Debug: Hardcore beenden</source>
        <translation>Debug: terminar hardcore</translation>
    </message>
    <message>
        <source>Nur für Entwicklung: Beendet die Hardcore-Session sofort.</source>
        <translation>Solo para desarrollo: termina la sesión hardcore al instante.</translation>
    </message>
    <message>
        <source>Hauptbildschirm</source>
        <translation>Pantalla principal</translation>
    </message>
    <message>
        <source>AN</source>
        <translation>SÍ</translation>
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
        <translation>APARCADAS</translation>
    </message>
    <message>
        <source>Klick: auf Bühne</source>
        <translation>Clic: al escenario</translation>
    </message>
    <message>
        <source>Apps-Leiste aufklappen</source>
        <translation>Desplegar la barra de apps</translation>
    </message>
    <message>
        <source>Apps-Leiste einklappen</source>
        <translation>Plegar la barra de apps</translation>
    </message>
    <message>
        <source>geparkt</source>
        <translation>aparcada</translation>
    </message>
    <message>
        <source>Brauchst du das noch?</source>
        <translation>¿Aún lo necesitas?</translation>
    </message>
    <message>
        <source>in Queue</source>
        <translation>en cola</translation>
    </message>
    <message numerus="yes">
        <source>QUEUE · %n</source>
        <translation>
            <numerusform>COLA · %n</numerusform>
            <numerusform>COLA · %n</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StageVeskTopControlView</name>
    <message>
        <source>Fokus</source>
        <translation>Foco</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Dividido</translation>
    </message>
    <message>
        <source>Tri</source>
        <translation>Tres</translation>
    </message>
    <message>
        <source>Quad</source>
        <translation>Cuatro</translation>
    </message>
    <message>
        <source>Freestyle</source>
        <translation>Libre</translation>
    </message>
    <message>
        <source>◎ ZIEL</source>
        <translation>◎ OBJETIVO</translation>
    </message>
</context>
</TS>
