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
Private m_NewLevel AS Long
Private Sub UserControl_ReadProperties (PropBag As PropertyBag)
m_NewLevel = PropBag.ReadProperty ("Level")
End Sub
Private Sub UserControl_WriteProperties(PropBag As PropertyBag)
Propbag.WriteProperty "Level", m_NewLevel
End Sub
Property Let Level(NewLevel as Long)
' Level: The level shown

On Error GoTo Level_Error
m_NewLevel = NewLevel
PropertyChanged "Level"
Level_Exit:
    Exit Property
Level_Error:
    LogError "Level", Err.Number, Err.Description
    Resume Next
End Property
Property Get Level( )AS Long
' Level: The level shown

On Error GoTo Level_Error
Level = m_NewLevel
Level_Exit:
    Exit Property
Level_Error:
    LogError "Level", Err.Number, Err.Description
    Resume Next
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
