<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>ProjectFile</name>
    <message><source>OpenProject</source><comment>Widget</comment><translation>Projekt öffnen</translation></message>
</context>
</TS>
