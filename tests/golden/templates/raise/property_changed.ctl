VERSION 5.00
Begin VB.UserControl Meter 
   ClientHeight    =   600
   Begin VB.Label lblTitle 
      Caption         =   "Title"
   End
End
Attribute VB_Name = "Meter"
Attribute VB_Exposed = True
Option Explicit
Public Event Click()
Attribute Click.VB_UserMemId = -600
Private mvNewLevel AS Long
Private Sub UserControl_ReadProperties (PropBag As PropertyBag)
mvNewLevel = PropBag.ReadProperty ("Level")
End Sub
Private Sub UserControl_WriteProperties(PropBag As PropertyBag)
Propbag.WriteProperty "Level", mvNewLevel
End Sub
Property Let Level(NewLevel as Long)
'---------------------------------------------------------------
' Meter.Level (Property Let)
' The level shown
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------

    On Error GoTo Fail
    mvNewLevel = NewLevel
    PropertyChanged "Level"
    Exit Property
Fail:
    Err.Raise Err.Number, "Meter.Level", Err.Description
End Property
Property Get Level( )AS Long
'---------------------------------------------------------------
' Meter.Level (Property Get)
' The level shown
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------

    On Error GoTo Fail
    Level = mvNewLevel
    Exit Property
Fail:
    Err.Raise Err.Number, "Meter.Level", Err.Description
End Property

' The meter's caption.
Public Property Get Caption() As String
Attribute Caption.VB_UserMemId = 0
    Caption = lblTitle.Caption
End Property

Public Function Percent(ByVal Value As Long) As Long
    Percent = Value \ 100
End Function

Private Sub UserControl_Click()
    RaiseEvent Click
End Sub
