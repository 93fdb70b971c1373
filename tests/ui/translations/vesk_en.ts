<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>LocalizerTest</name>
    <message>
        <source>Sichtbar</source>
        <translation>Visible</translation>
    </message>
    <message>
        <source>%1 öffnen</source>
        <translation>Open %1</translation>
    </message>
    <message numerus="yes">
        <source>%n Apps im Vesk</source>
        <translation>
            <numerusform>%n app in the Vesk</numerusform>
            <numerusform>%n apps in the Vesk</numerusform>
        </translation>
    </message>
    <message>
        <source>Schliessen</source>
        <comment>button</comment>
        <translation>Close</translation>
    </message>
</context>
</TS>
