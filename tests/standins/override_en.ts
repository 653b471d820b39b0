<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>ProjectFile</name>
    <message><source>Loading</source><comment>Widget</comment><translation>Please wait...</translation></message>
</context>
</TS>
