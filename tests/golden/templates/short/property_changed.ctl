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
Private p_NewLevel AS Long
Private Sub UserControl_ReadProperties (PropBag As PropertyBag)
p_NewLevel = PropBag.ReadProperty ("Level")
End Sub
Private Sub UserControl_WriteProperties(PropBag As PropertyBag)
Propbag.WriteProperty "Level", p_NewLevel
End Sub
Property Let Level(NewLevel as Long)
' Level - The level shown
' {by My name}

	On Error GoTo Catch
	p_NewLevel = NewLevel
	PropertyChanged "Level"
	Exit Property
Catch:
	MsgBox Err.Description, vbExclamation, "Level"
End Property
Property Get Level( )AS Long
' Level - The level shown
' {by My name}

	On Error GoTo Catch
	Level = p_NewLevel
	Exit Property
Catch:
	MsgBox Err.Description, vbExclamation, "Level"
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
