import QtQuick 2.12
import QtQuick.Window 2.12
import QtQuick.Controls 2.12
import QtQuick.Layouts 1.12

Window {
    visible: true
    width: 200
    height: 120
    title: "Qt Quick demo"

    ColumnLayout {
        anchors.fill: parent
        Label { text: "A program that carries its own QML modules" }
        Button { text: "Press" }
    }
}
