<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>ProjectFile</name>
    <message><source>OpenProject</source><comment>Widget</comment><translation>Open project</translation></message>
    <message><source>Loading</source><comment>Widget</comment><translation>Loading...</translation></message>
    <message><source>Saving</source><comment>Widget</comment><translation>Saving...</translation></message>
    <message><source>Title</source><comment>Widget</comment><translation>Widget title</translation></message>
    <message><source>Title</source><comment>Other</comment><translation>Other title</translation></message>
</context>
</TS>
